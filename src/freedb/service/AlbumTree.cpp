#include "freedb/service/AlbumTree.h"

#include "freedb/service/AlbumInfo.h"
#include "freedb/service/TreeFormat.h"

#include <utility>

CAlbumTree::CAlbumTree(std::vector<int> levels) {
    Clear(std::move(levels));
}

void CAlbumTree::Clear(std::vector<int> levels) {
    m_levels = levels.empty() ? std::vector<int>{CTreeFormat::kDiscId} : std::move(levels);
    m_nodes.assign(1, SNode{});
    m_albumNodes.clear();
}

std::vector<std::size_t> CAlbumTree::AddAlbum(std::size_t nAlbum, const CAlbumInfo& album) {
    std::vector<std::size_t> made;
    std::size_t parent = kRoot;
    for (std::size_t depth = 0; depth + 1 < m_levels.size(); ++depth) {
        std::size_t group = FindGroup(parent, depth, album);
        if (group == kRoot) {
            group = AddChild(parent, CTreeFormat::LabelOf(m_levels[depth], album), m_levels[depth]);
            made.push_back(group);
        }
        parent = group;
    }
    const std::size_t node =
        AddChild(parent, CTreeFormat::LabelOf(m_levels.back(), album), m_levels.back());
    m_nodes[node].m_nAlbum = nAlbum;
    if (m_albumNodes.size() <= nAlbum)
        m_albumNodes.resize(nAlbum + 1, kRoot);
    m_albumNodes[nAlbum] = node;
    made.push_back(node);
    return made;
}

std::pair<std::size_t, std::size_t> CAlbumTree::InsertionPoint(const CAlbumInfo& album) const {
    std::size_t parent = kRoot;
    for (std::size_t depth = 0; depth + 1 < m_levels.size(); ++depth) {
        const std::size_t group = FindGroup(parent, depth, album);
        if (group == kRoot)
            break;
        parent = group;
    }
    return {parent, m_nodes[parent].m_children.size()};
}

std::size_t CAlbumTree::FindGroup(std::size_t nParent, std::size_t nDepth,
                                  const CAlbumInfo& album) const {
    const std::string label = CTreeFormat::LabelOf(m_levels[nDepth], album);
    for (const std::size_t child : m_nodes[nParent].m_children) {
        if (m_nodes[child].m_nAlbum == kNoAlbum && m_nodes[child].m_strLabel == label)
            return child;
    }
    return kRoot;
}

std::size_t CAlbumTree::AddChild(std::size_t nParent, std::string strLabel, int nLevel) {
    SNode node;
    node.m_strLabel = std::move(strLabel);
    node.m_nLevel = nLevel;
    node.m_nParent = nParent;
    node.m_nRow = m_nodes[nParent].m_children.size();
    m_nodes.push_back(std::move(node));
    const std::size_t id = m_nodes.size() - 1;
    m_nodes[nParent].m_children.push_back(id);
    return id;
}

std::size_t CAlbumTree::NodeOfAlbum(std::size_t nAlbum) const {
    return nAlbum < m_albumNodes.size() ? m_albumNodes[nAlbum] : kRoot;
}

CAlbumTree::SInfo CAlbumTree::InfoOf(const SNode& node, const CAlbumInfo* pAlbum) {
    SInfo info;
    if (node.m_nAlbum != kNoAlbum && pAlbum != nullptr) {
        info.m_strArtist = pAlbum->GetArtist();
        info.m_strAlbum = pAlbum->GetTitle();
        info.m_strYear = pAlbum->GetYear();
        info.m_nTracks = static_cast<unsigned>(pAlbum->GetTrackCount());
        info.m_strDiscId = pAlbum->GetDiscId();
    } else if (node.m_nLevel == CTreeFormat::kArtist) {
        info.m_strArtist = node.m_strLabel;
    } else if (node.m_nLevel == CTreeFormat::kTitle) {
        info.m_strAlbum = node.m_strLabel;
    }
    return info;
}
