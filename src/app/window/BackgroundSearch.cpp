#include "app/window/BackgroundSearch.h"

#include "document/ArchiveDocument.h"
#include "document/SearchSnapshot.h"

#include <QThreadPool>

#include <mutex>

namespace larkspan {

// Where a worker leaves its results: posted to the search while it lives.
struct BackgroundSearch::Mailbox {
    std::mutex mutex;
    BackgroundSearch* owner = nullptr;
};

BackgroundSearch::BackgroundSearch(std::shared_ptr<ArchiveDocument> document, QObject* parent)
    : QObject(parent), document_(std::move(document)), mailbox_(std::make_shared<Mailbox>())
{
    mailbox_->owner = this;
    pause_.setSingleShot(true);
    pause_.setInterval(kTypingPauseMs);
    connect(&pause_, &QTimer::timeout, this, &BackgroundSearch::start);
}

BackgroundSearch::~BackgroundSearch()
{
    cancel();
    const std::lock_guard lock(mailbox_->mutex);
    mailbox_->owner = nullptr;
}

void BackgroundSearch::schedule(bool immediately)
{
    cancel();
    if (immediately)
        start();
    else
        pause_.start();
}

void BackgroundSearch::cancel()
{
    pause_.stop();
    if (cancelRun_)
        cancelRun_->store(true);
    cancelRun_.reset();
    runEntries_.clear();
    ++run_;
}

void BackgroundSearch::start()
{
    const BrowseState& browse = document_->browse();
    runEntries_ = SearchSnapshot::entriesInTreeOrder(document_->topLevelNodes());
    auto snapshot = std::make_shared<const SearchSnapshot>(runEntries_);
    cancelRun_ = std::make_shared<std::atomic<bool>>(false);
    QThreadPool::globalInstance()->start([mailbox = mailbox_, snapshot, cancelled = cancelRun_, run = run_,
                                          text = browse.searchText(), names = browse.searchesFilenames(),
                                          contents = browse.searchesFileContents()] {
        std::optional<std::vector<std::size_t>> found = snapshot->search(text, names, contents, *cancelled);
        if (!found)
            return;
        const std::lock_guard lock(mailbox->mutex);
        if (mailbox->owner)
            QMetaObject::invokeMethod(
                mailbox->owner,
                [owner = mailbox->owner, run, text, found = std::move(*found)] { owner->show(run, text, found); },
                Qt::QueuedConnection);
    });
}

void BackgroundSearch::show(std::uint64_t run, const std::string& text, const std::vector<std::size_t>& found)
{
    if (run != run_)
        return;
    std::vector<RFATreeNode::Ptr> results;
    results.reserve(found.size());
    for (std::size_t i : found)
        results.push_back(runEntries_[i]);
    runEntries_.clear();
    cancelRun_.reset();
    document_->browse().showResults(text, std::move(results));
    emit resultsShown();
}

} // namespace larkspan
