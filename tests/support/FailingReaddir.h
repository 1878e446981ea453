#pragma once

// While it lives, the directory reads of this test program fail with EIO after
// `nEntries` more entries ("." and ".." count), as on a network share that drops
// half-way through a listing.
class CFailingReaddir {
public:
    explicit CFailingReaddir(int nEntries);
    ~CFailingReaddir();
    CFailingReaddir(const CFailingReaddir&) = delete;
    CFailingReaddir& operator=(const CFailingReaddir&) = delete;
};
