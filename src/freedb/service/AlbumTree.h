#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <utility>
#include <vector>

class CAlbumInfo;

// The FreeDB editor's album tree without the window: albums grouped by the levels of the
// tree format. Above the last level, albums with the same label (compared exactly) share a
// node; at the last level every album has a node of its own, which carries the album's
// index. Nodes keep the order in which they were made. Lives in the window thread.
class CAlbumTree {
public:
    static constexpr std::size_t kRoot = 0;
    static constexpr std::size_t kNoAlbum = std::numeric_limits<std::size_t>::max();

    struct SNode {
        std::string m_strLabel;
        int m_nLevel = 0; // the tree format's level code; 0 for the root
        std::size_t m_nParent = kRoot;
        std::size_t m_nRow = 0; // position among the parent's children
        std::vector<std::size_t> m_children;
        std::size_t m_nAlbum = kNoAlbum;
    };

    // What the info bar shows for a node.
    struct SInfo {
        std::string m_strArtist;
        std::string m_strAlbum;
        std::string m_strYear;
        unsigned m_nTracks = 0;
        std::string m_strDiscId;
    };

    // `levels` as CTreeFormat::Levels gives them; never empty.
    explicit CAlbumTree(std::vector<int> levels);

    // Removes every node but the root; the levels may change with it.
    void Clear(std::vector<int> levels);
    // Adds album `nAlbum` and answers the nodes made for it, outermost first; the last
    // is the album's own node.
    std::vector<std::size_t> AddAlbum(std::size_t nAlbum, const CAlbumInfo& album);
    // Where AddAlbum would put the first node it makes for `album`: the parent node and
    // the row, so that a view can be told before the tree changes.
    std::pair<std::size_t, std::size_t> InsertionPoint(const CAlbumInfo& album) const;

    const SNode& Node(std::size_t nNode) const { return m_nodes[nNode]; }
    std::size_t NodeCount() const { return m_nodes.size(); }
    // The node of album `nAlbum`, or kRoot when it has none.
    std::size_t NodeOfAlbum(std::size_t nAlbum) const;
    // The album of a node, or kNoAlbum for a group node.
    std::size_t AlbumOf(std::size_t nNode) const { return m_nodes[nNode].m_nAlbum; }

    // An album node shows its album; an artist node its label as the artist, an album-title
    // node its label as the album; other nodes nothing.
    static SInfo InfoOf(const SNode& node, const CAlbumInfo* pAlbum);

private:
    // The existing group of `album` at level position `nDepth` under `nParent`, or kRoot.
    std::size_t FindGroup(std::size_t nParent, std::size_t nDepth, const CAlbumInfo& album) const;
    std::size_t AddChild(std::size_t nParent, std::string strLabel, int nLevel);

    std::vector<int> m_levels;
    std::vector<SNode> m_nodes;
    std::vector<std::size_t> m_albumNodes; // by album index
};
