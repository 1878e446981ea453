#pragma once

#include "freedb/service/AlbumTree.h"
#include "freedb/service/OperationObserver.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <vector>

class CAlbumInfo;

// The FreeDB editor's album tree as a model: the groups of the tree format and one node
// per album, whose icon tells the album's state (track list there, not yet fetched, being
// fetched, failed). Lives in the window thread.
class CAlbumTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    using EAlbumState = IOperationObserver::EAlbumState;

    explicit CAlbumTreeModel(QObject* pParent = nullptr);

    // Empties the tree; its levels may change with it.
    void Reset(std::vector<int> levels);
    // Adds album `nAlbum`; answers the index of its node.
    QModelIndex AddAlbum(std::size_t nAlbum, const CAlbumInfo& album);
    void SetState(std::size_t nAlbum, EAlbumState eState);
    EAlbumState State(std::size_t nAlbum) const;

    const CAlbumTree& Tree() const { return m_tree; }
    std::size_t NodeOf(const QModelIndex& index) const;
    // The album of a node, or CAlbumTree::kNoAlbum.
    std::size_t AlbumOf(const QModelIndex& index) const;
    QModelIndex IndexOfAlbum(std::size_t nAlbum) const;

    QModelIndex index(int nRow, int nColumn, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int nRole) const override;

    // The icons are the window's, set once it exists.
    void SetIcons(std::vector<QIcon> levelIcons, std::vector<QIcon> stateIcons);

private:
    QModelIndex IndexOfNode(std::size_t nNode) const;

    CAlbumTree m_tree;
    std::vector<EAlbumState> m_states; // by album
    std::vector<QIcon> m_levelIcons;   // by level code - 1
    std::vector<QIcon> m_stateIcons;   // by state
};
