#pragma once

#include "AppTestSupport.h"

#include "app/mod/ModWindow.h"

namespace larkspan::fixtures {

// The window of the mod Mods/MyMod in the fixture's folder, shown; null
// when the mod cannot be opened.
inline ModWindow* openMyMod(WindowFixture& windows)
{
    ModWindow* window = windows.app->openMod(QString::fromStdString((windows.temp.path() / "Mods/MyMod").string()));
    if (window)
        window->show();
    return window;
}

} // namespace larkspan::fixtures
