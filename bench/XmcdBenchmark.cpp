// Reading a 100-track xmcd record into an album, against the plainest work the same
// lines need: copying each one and finding its "=". The two are run alternately in one
// process and their ratio is printed.
#include "PairedRuns.h"
#include "freedb/protocol/XmcdParser.h"
#include "freedb/service/AlbumInfo.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {
constexpr int kTracks = 100;

// A record as a server sends it: header with offsets, long DTITLE over two lines,
// titles with escapes, some spread over two lines, and extra texts.
std::vector<std::string> MakeRecord() {
    std::vector<std::string> lines = {"# xmcd CD database file", "#", "# Track frame offsets:"};
    for (int i = 0; i < kTracks; ++i)
        lines.push_back("#\t" + std::to_string(150 + i * 13500));
    lines.insert(lines.end(),
                 {"#", "# Disc length: 18002 seconds", "#", "# Revision: 7",
                  "# Submitted via: ExactAudioCopy v1.6", "#", "DISCID=5c465164",
                  "DTITLE=Various Artists / The Very Long Compilation Of Everyth",
                  "DTITLE=ing Anyone Ever Recorded", "DYEAR=2004", "DGENRE=Compilation"});
    for (int i = 0; i < kTracks; ++i) {
        const std::string n = std::to_string(i);
        lines.push_back("TTITLE" + n + "=Performer Number " + n + " / Song\\tTitle " + n);
        if (i % 10 == 0)
            lines.push_back("TTITLE" + n + "= (Extended Mix With A Long Name)");
    }
    lines.push_back("EXTD=Liner notes\\nsecond line");
    for (int i = 0; i < kTracks; ++i)
        lines.push_back("EXTT" + std::to_string(i) + "=Recorded live, take " + std::to_string(i));
    lines.push_back("PLAYORDER=");
    lines.push_back(".");
    return lines;
}

const std::vector<std::string>& Record() {
    static const std::vector<std::string> record = MakeRecord();
    return record;
}

void ParseRecord(benchmark::State& state) {
    const std::vector<std::string>& lines = Record();
    for (auto _ : state) {
        CAlbumInfo album;
        if (!CXmcdParser::ParseXmcd(lines, album) || album.GetTrackCount() != kTracks)
            state.SkipWithError("the record was not read");
        benchmark::DoNotOptimize(album.GetTracks()[kTracks - 1].GetTitle().data());
    }
    state.SetItemsProcessed(state.iterations());
}

void CopyLinesAndFindEquals(benchmark::State& state) {
    const std::vector<std::string>& lines = Record();
    for (auto _ : state) {
        size_t found = 0;
        for (const std::string& line : lines) {
            std::string copy = line;
            found += copy.find('=');
            benchmark::DoNotOptimize(copy.data());
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations());
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const SPairedResult result =
        CPairedRuns::Run("ParseXmcd100Tracks", ParseRecord, "CopyLinesAndFindEquals",
                         CopyLinesAndFindEquals, benchmark::kMicrosecond);
    if (!result.m_bOk)
        return 1;
    const double parseUs = result.m_dMedian;
    std::printf("\nxmcd reading: %.0f records/s (%.1f us for a %d-track record of %zu lines)\n",
                1e6 / parseUs, parseUs, kTracks, Record().size());
    std::printf("reference, copy the lines and find '=': %.2f us\n", result.m_dReferenceMedian);
    std::printf("ratio reading/reference: %.2f\n", result.m_dRatio);
    return 0;
}
