#pragma once

#include "app/views/EntryIcons.h"
#include "app/views/EntrySort.h"
#include "document/ArchiveDocument.h"
#include "model/ChangeHub.h"

#include <QAbstractTableModel>

#include <unordered_map>

namespace larkspan {

// The search results as a table: Name (with the entry's icon), Path and
// Size. It follows the document's result set, and renames or size changes
// of the entries it shows. Its rows are the results in the order found, or
// sorted by a column: the result set itself keeps its order.
class CutMarks;

class SearchResultsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Name, Path, Size, ColumnCount };

    explicit SearchResultsModel(std::shared_ptr<ArchiveDocument> document, QObject* parent = nullptr);
    ~SearchResultsModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // By a column, or in the order found for -1.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // Entries marked here are drawn dimmed.
    void setCutMarks(const CutMarks* marks);
    RFATreeNode::Ptr nodeAt(int row) const;
    int rowOf(const RFATreeNode& node) const;

private:
    std::shared_ptr<ArchiveDocument> document_;
    void takeRows();
    void watchHub();

    std::vector<RFATreeNode::Ptr> rows_;
    std::unordered_map<const RFATreeNode*, int> rowByNode_;
    std::uint64_t documentObserver_ = 0;
    ObserverToken entryChanges_;
    EntrySort sort_;
    const CutMarks* cutMarks_ = nullptr;
    mutable EntryIcons icons_;
};

} // namespace larkspan
