#include "freedb/service/ui/AlbumTreeModel.h"

#include "freedb/service/TreeFormat.h"
#include "lang/ui/UiText.h"

CAlbumTreeModel::CAlbumTreeModel(QObject* pParent)
    : QAbstractItemModel(pParent), m_tree(CTreeFormat().Levels()) {}

void CAlbumTreeModel::SetIcons(std::vector<QIcon> levelIcons, std::vector<QIcon> stateIcons) {
    m_levelIcons = std::move(levelIcons);
    m_stateIcons = std::move(stateIcons);
}

void CAlbumTreeModel::Reset(std::vector<int> levels) {
    beginResetModel();
    m_tree.Clear(std::move(levels));
    m_states.clear();
    endResetModel();
}

QModelIndex CAlbumTreeModel::AddAlbum(std::size_t nAlbum, const CAlbumInfo& album) {
    const auto [parent, row] = m_tree.InsertionPoint(album);
    const int at = static_cast<int>(row);
    beginInsertRows(IndexOfNode(parent), at, at);
    m_tree.AddAlbum(nAlbum, album);
    if (m_states.size() <= nAlbum)
        m_states.resize(nAlbum + 1, EAlbumState::NoTrackList);
    endInsertRows();
    return IndexOfAlbum(nAlbum);
}

void CAlbumTreeModel::SetState(std::size_t nAlbum, EAlbumState eState) {
    if (nAlbum >= m_states.size() || m_states[nAlbum] == eState)
        return;
    m_states[nAlbum] = eState;
    const QModelIndex node = IndexOfAlbum(nAlbum);
    emit dataChanged(node, node, {Qt::DecorationRole});
}

CAlbumTreeModel::EAlbumState CAlbumTreeModel::State(std::size_t nAlbum) const {
    return nAlbum < m_states.size() ? m_states[nAlbum] : EAlbumState::NoTrackList;
}

std::size_t CAlbumTreeModel::NodeOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<std::size_t>(index.internalId()) : CAlbumTree::kRoot;
}

std::size_t CAlbumTreeModel::AlbumOf(const QModelIndex& index) const {
    return index.isValid() ? m_tree.AlbumOf(NodeOf(index)) : CAlbumTree::kNoAlbum;
}

QModelIndex CAlbumTreeModel::IndexOfAlbum(std::size_t nAlbum) const {
    const std::size_t node = m_tree.NodeOfAlbum(nAlbum);
    return node == CAlbumTree::kRoot ? QModelIndex() : IndexOfNode(node);
}

QModelIndex CAlbumTreeModel::IndexOfNode(std::size_t nNode) const {
    if (nNode == CAlbumTree::kRoot || nNode >= m_tree.NodeCount())
        return {};
    return createIndex(static_cast<int>(m_tree.Node(nNode).m_nRow), 0,
                       static_cast<quintptr>(nNode));
}

QModelIndex CAlbumTreeModel::index(int nRow, int nColumn, const QModelIndex& parent) const {
    const CAlbumTree::SNode& node = m_tree.Node(NodeOf(parent));
    if (nColumn != 0 || nRow < 0 || static_cast<std::size_t>(nRow) >= node.m_children.size())
        return {};
    return createIndex(nRow, 0,
                       static_cast<quintptr>(node.m_children[static_cast<std::size_t>(nRow)]));
}

QModelIndex CAlbumTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid())
        return {};
    return IndexOfNode(m_tree.Node(NodeOf(child)).m_nParent);
}

int CAlbumTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0)
        return 0;
    return static_cast<int>(m_tree.Node(NodeOf(parent)).m_children.size());
}

int CAlbumTreeModel::columnCount(const QModelIndex& /*parent*/) const {
    return 1;
}

QVariant CAlbumTreeModel::data(const QModelIndex& index, int nRole) const {
    if (!index.isValid())
        return {};
    const CAlbumTree::SNode& node = m_tree.Node(NodeOf(index));
    if (nRole == Qt::DisplayRole || nRole == Qt::ToolTipRole)
        return UiText::FromUtf8(node.m_strLabel);
    if (nRole != Qt::DecorationRole)
        return {};
    if (node.m_nAlbum != CAlbumTree::kNoAlbum) {
        const auto state = static_cast<std::size_t>(State(node.m_nAlbum));
        return state < m_stateIcons.size() ? m_stateIcons[state] : QVariant();
    }
    const auto level = static_cast<std::size_t>(node.m_nLevel - 1);
    return level < m_levelIcons.size() ? m_levelIcons[level] : QVariant();
}
