#pragma once

#include "document/DocumentHost.h"

#include <QObject>

namespace larkspan {

class MyDocument;

// The questions of the document logic as window-modal dialogs of its
// window, answered in slots: the logic never waits for them.
class DocumentDialogs : public QObject, public DocumentHost {
    Q_OBJECT
public:
    explicit DocumentDialogs(MyDocument& window);

    void beep() override;
    void askReplace(const ReplaceQuestion& question, std::function<void(ReplaceAnswer)> answer) override;
    void chooseFilesToAdd(std::function<void(std::optional<std::vector<std::filesystem::path>>)> chosen) override;
    void chooseExtractionFolder(std::function<void(std::optional<std::filesystem::path>)> chosen) override;
    void reportProblems(const std::vector<std::string>& problems) override;
    void explainRefusal(const std::string& reason) override;

private:
    MyDocument& window_;
};

} // namespace larkspan
