#pragma once

#include <QObject>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace larkspan {

class ArchiveDocument;
class RFATreeNode;

// The search of a window's field when it reads the contents of entries,
// which takes long on a big archive: it starts after a pause in typing, runs
// on a worker thread over a snapshot of the trees, and its results are shown
// once complete. A newer text cancels the run of an older one, so typing
// never waits for a search.
class BackgroundSearch : public QObject {
    Q_OBJECT
public:
    // Typing pauses this long before the search starts.
    static constexpr int kTypingPauseMs = 120;

    BackgroundSearch(std::shared_ptr<ArchiveDocument> document, QObject* parent);
    ~BackgroundSearch() override;

    // Searches for the document's search text, after a pause in typing or
    // at once (Return).
    void schedule(bool immediately);
    // Forgets the pending or running search (the search was left).
    void cancel();

signals:
    // Results of a run were shown.
    void resultsShown();

private:
    struct Mailbox;
    void start();
    void show(std::uint64_t run, const std::string& text, const std::vector<std::size_t>& found);

    std::shared_ptr<ArchiveDocument> document_;
    QTimer pause_;
    std::shared_ptr<Mailbox> mailbox_;
    std::shared_ptr<std::atomic<bool>> cancelRun_;
    // The entries the running search's snapshot was taken of, kept here:
    // entries are made and dropped on the main thread only.
    std::vector<std::shared_ptr<RFATreeNode>> runEntries_;
    std::uint64_t run_ = 0;
};

} // namespace larkspan
