#pragma once

#include <string>

class CAlbumInfo;
class CAlbumList;
class CProfile;
class IAlbumSourceOwner;

// The common base of every source of albums (the CDDB clients, the CD Player
// database). It turns the progress and error messages of the protocol code into lines
// of the operation log: a message without CR LF starts a line, one with CR LF completes
// it; tabs become five blanks; after a stop request an error line reads "User break.";
// at full logging every line on the wire is shown as a "[DBG]" line before the next
// completed line. Used by one operation thread at a time.
class CAlbumSource {
public:
    // The logging level is read from section "FreeDB", key "Logging", of the profile,
    // which must outlive the source; none means standard logging.
    explicit CAlbumSource(const CProfile* pProfile);
    virtual ~CAlbumSource() = default;
    CAlbumSource(const CAlbumSource&) = delete;
    CAlbumSource& operator=(const CAlbumSource&) = delete;

    virtual bool Open() = 0;
    virtual bool Close() = 0;
    // Appends the albums that match `album` to `results`.
    virtual bool Query(CAlbumInfo& album, CAlbumList& results) = 0;
    // Fills `album` with the full record.
    virtual bool Read(CAlbumInfo& album) = 0;
    // Keeps the album in the source's own storage; only the local database has one.
    virtual bool Store(CAlbumInfo& album);

    // A missing owner is ignored.
    virtual void SetOwner(IAlbumSourceOwner* pOwner);
    IAlbumSourceOwner* GetOwner() const { return m_pOwner; }

    void Log(const char* format, ...) __attribute__((format(printf, 2, 3)));
    virtual void RefreshLogging();
    bool IsFullLogging() const { return m_bFullLogging; }
    // The owner's stop request; false without an owner.
    virtual bool IsUserBreak();
    // Records a line sent (+1), received (-1) or anything else (0) for full logging.
    virtual void Trace(int nDirection, const std::string& strText);
    // One line of the current reply; sources without a connection have none.
    virtual bool ReadLine(std::string& strLine);
    // From any thread, for a forced stop: ends every wait of the source at once and
    // makes later ones fail. A source that never waits has nothing to end.
    virtual void Shutdown() {}

protected:
    void LogText(const std::string& strText);

private:
    void CompleteLine(std::string strLine);
    void HandOverTraces();

    IAlbumSourceOwner* m_pOwner = nullptr;
    const CProfile* m_pProfile = nullptr;
    bool m_bFullLogging = false;
    std::string m_strPending; // the start of a line whose end has not been written yet
    std::string m_strTrace;   // trace lines not yet handed over, each ended by CR LF
};
