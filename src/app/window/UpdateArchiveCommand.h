#pragma once

#include <QCoreApplication>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class QMessageBox;

namespace larkspan {

class MyDocument;
struct ArchiveEntry;
struct UpdatePlan;

// File → Save as Update Archive…: what the window's tree holds new or
// changed against the document's file on disk (a base or an update, and the
// rest of its family) written as the family's next update, BASE_NNN.rfa
// beside the file. The user is told the file written and the entries an
// update cannot remove, and asked first when an edit would go over a later
// update's change. Once written, the window's edits count as saved.
class UpdateArchiveCommand {
    Q_DECLARE_TR_FUNCTIONS(larkspan::UpdateArchiveCommand)
public:
    // `done(written)` once the user has seen how it went.
    static void run(MyDocument& window, std::function<void(bool written)> done = {});

    // "objects/tank.con (objects_002.rfa)": an entry and the update that
    // holds the version the game reads.
    static QString entryInUpdate(const std::string& path, const std::filesystem::path& update);

private:
    static void write(MyDocument& window, const std::filesystem::path& origin, const std::filesystem::path& target,
                      const UpdatePlan& plan, const std::vector<ArchiveEntry>& compared,
                      const std::function<void(bool)>& done);
    static void noteDeletions(QMessageBox& box, const std::vector<std::string>& deleted);
    static void noteHiddenEntries(QMessageBox& box, const MyDocument& window, const std::filesystem::path& origin);
};

} // namespace larkspan
