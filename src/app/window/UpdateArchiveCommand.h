#pragma once

#include <QCoreApplication>

#include <string>
#include <vector>

class QMessageBox;

namespace larkspan {

class MyDocument;

// File → Save as Update Archive…: what the window's tree holds new or
// changed against the document's file on disk (a base or an update, and the
// rest of its family) written as the family's next update, BASE_NNN.rfa
// beside the file. The user is told
// the file written and the entries an update cannot remove.
class UpdateArchiveCommand {
    Q_DECLARE_TR_FUNCTIONS(larkspan::UpdateArchiveCommand)
public:
    static void run(MyDocument& window);

private:
    static void noteDeletions(QMessageBox& box, const std::vector<std::string>& deleted);
};

} // namespace larkspan
