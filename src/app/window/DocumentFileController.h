#pragma once

#include "base/Error.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace larkspan {

class ArchiveDocument;
class MyDocument;
class RFAApplicationDelegate;

// The file commands of one window: reading the archive into it, saving,
// reverting, the question before unsaved changes are lost, and starting the
// game on the saved file.
class DocumentFileController : public QObject {
    Q_OBJECT
public:
    DocumentFileController(MyDocument& window, RFAApplicationDelegate& application,
                           std::shared_ptr<ArchiveDocument> document);

    // Reads an archive into this (fresh) window. On failure the window
    // stays as it was.
    Result<void> readFile(const QString& path);
    // Asks first when another program has written the file since it was
    // read or saved here, and when a later update of the file's family
    // replaces an entry changed here (the game would never read the edit):
    // Save as Update Archive… instead, Save Anyway, or Cancel.
    void save(std::function<void(bool saved)> done = {});
    void saveAs(std::function<void(bool saved)> done = {});
    void revertToSaved();
    void run();
    void saveAndRun();
    // Asks to save unsaved changes first (Save, Don't Save, Cancel); then
    // `proceed(true)` unless the user cancelled or the save failed.
    void askToSaveChanges(std::function<void(bool proceed)> proceed);

signals:
    // The file's name or its saved state changed: the titles follow.
    void titleChanged();
    // Something the menus show may have changed.
    void stateChanged();

private:
    // What tells that someone else wrote the file.
    struct FileStamp {
        bool exists = false;
        QDateTime modified;
        qint64 size = -1;
        bool operator==(const FileStamp&) const = default;
    };
    static FileStamp stampOf(const QString& path);
    void saveOverFile(std::function<void(bool saved)> done);
    bool writeTo(const QString& path);
    // Writes once the user has agreed to leave out the folders the file
    // cannot hold, if there are any; `done(false)` when cancelled.
    void confirmThenWrite(const QString& path, std::function<void(bool saved)> done);
    void updateTitle() { emit titleChanged(); }
    // The names one a line, the first dozen, then how many more.
    static QString listed(const QStringList& names);
    QString displayName() const;
    bool isUntitled() const;
    bool isModified() const;
    void beep();

    MyDocument& window_;
    RFAApplicationDelegate& application_;
    std::shared_ptr<ArchiveDocument> document_;
    FileStamp stamp_; // the file as last read or written here
};

} // namespace larkspan
