// wavsmith-cli: the command-line front end over the same core as the desktop program.
#include "cli/ArgParser.h"
#include "cli/ConnectionOptions.h"
#include "cli/EncodeCommand.h"
#include "cli/EncodeOptions.h"
#include "cli/FreedbCommands.h"
#include "cli/InfoCommand.h"
#include "cli/LanguageOptions.h"
#include "cli/ListCommand.h"
#include "cli/LookupCommand.h"
#include "cli/LookupOptions.h"
#include "cli/SettingsOverrides.h"
#include "encoding/AppSettings.h"
#include "filelist/TrackList.h"
#include "lang/StringCatalogue.h"
#include "platform/PlatformPaths.h"
#include "platform/Profile.h"

#include <functional>
#include <iostream>
#include <optional>

namespace {
constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// What every command may use: the options of the whole program and the option groups.
struct SCliContext {
    std::optional<std::string> m_strProfilePath;
    bool m_bHelp = false;
    bool m_bVersion = false;
    CSettingsOverrides m_overrides;
    CLanguageOptions m_language;
    CEncodeOptions m_encodeOptions;
    CConnectionOptions m_connection;
    CLookupOptions m_lookup;
    std::vector<std::string> m_paths;

    std::string ProfilePath() const {
        return m_strProfilePath.value_or(CPlatformPaths::ProfilePath());
    }
};

int UsageError(const std::string& strError);

// Runs `body` with the profile and the settings of this run: the stored settings with the
// options applied. Every command of this kind needs at least one path.
int RunWithSettings(SCliContext& context, const char* strCommand,
                    const std::function<int(CProfile&, CAppSettings&)>& body) {
    if (context.m_paths.empty())
        return UsageError(std::string("'") + strCommand +
                          "' needs at least one WAV file or folder");
    CProfile profile(context.ProfilePath());
    CAppSettings settings(CPlatformPaths::HomeDir());
    settings.LoadSettings(profile);
    if (!context.m_overrides.ApplyOverrides(settings))
        return UsageError(context.m_overrides.Error());
    return body(profile, settings);
}

int RunList(SCliContext& context) {
    return RunWithSettings(context, "list", [&](CProfile& profile, CAppSettings& settings) {
        CTrackList tracks;
        CListCommand command(settings, profile);
        const bool allRead = command.AddPaths(context.m_paths, tracks, std::cerr);
        command.PrintList(tracks, context.m_language.MakeCatalogue(profile), std::cout);
        return allRead ? kExitSuccess : kExitFailure;
    });
}

int RunEncode(SCliContext& context) {
    return RunWithSettings(context, "encode", [&](CProfile& profile, CAppSettings& settings) {
        context.m_encodeOptions.ApplyOverrides(settings);
        const CStringCatalogue catalogue = context.m_language.MakeCatalogue(profile);
        CEncodeCommand command(settings, profile, catalogue, context.m_encodeOptions);
        CLookupCommand lookup(context.m_connection, context.m_lookup, profile, std::cout,
                              std::cerr);
        lookup.AttachTo(command);
        return command.Run(context.m_paths);
    });
}

int RunInfo(SCliContext& context) {
    return RunWithSettings(context, "info", [&](CProfile& profile, CAppSettings& settings) {
        const CStringCatalogue catalogue = context.m_language.MakeCatalogue(profile);
        CInfoCommand command(settings, profile, catalogue);
        const bool done =
            command.Run(context.m_paths, context.m_language.Track(), std::cout, std::cerr);
        return done ? kExitSuccess : kExitFailure;
    });
}

int RunLookup(SCliContext& context) {
    return RunWithSettings(context, "lookup", [&](CProfile& profile, CAppSettings& settings) {
        CLookupCommand command(context.m_connection, context.m_lookup, profile, std::cout,
                               std::cerr);
        return command.Run(context.m_paths, settings, context.m_language.MakeCatalogue(profile));
    });
}

CFreedbCommands Freedb(SCliContext& context) {
    return CFreedbCommands(context.m_connection, context.ProfilePath(), std::cout, std::cerr);
}

struct SCommand {
    const char* m_strName;
    int (*m_run)(SCliContext&);
};
constexpr SCommand kCommands[] = {
    {"list", RunList},
    {"info", RunInfo},
    {"encode", RunEncode},
    {"query", [](SCliContext& c) { return Freedb(c).Query(c.m_paths); }},
    {"read", [](SCliContext& c) { return Freedb(c).Read(c.m_paths); }},
    {"search", [](SCliContext& c) { return Freedb(c).Search(c.m_paths); }},
    {"sites", [](SCliContext& c) { return Freedb(c).Sites(c.m_paths, c.m_encodeOptions.m_bSave); }},
    {"stat", [](SCliContext& c) { return Freedb(c).Stat(c.m_paths); }},
    {"lookup", RunLookup},
};

std::string UsageText() {
    return std::string(R"(Usage: wavsmith-cli [OPTIONS] COMMAND PATH...

Commands:
  list PATH...          Add the WAV files and the WAV files of the folders given (one
                        level deep), apply the settings and print the file list with
                        the refused files and the totals.
  info PATH... [--track N]
                        Build the list as list does and print the file information
                        pages of track N (default 1): each tab title on a line of its
                        own, then its text.
  encode PATH...        Add files and folders as list does, then encode the checked
                        tracks into MP3 files; prints the MP3 files written. Ctrl+C
                        stops the run and removes the unfinished MP3 file.
  query DISCID NTRACKS OFFSET... SECONDS
                        Ask the FreeDB server for the albums of a disc; prints one
                        line per match: category, disc ID, artist / title.
  read CATEGORY DISCID  Fetch an album; prints artist, title, year, disc length, then
                        one line per track: number, length, frame offset, artist (of
                        a compilation), title, extra.
  search WORDS...       Search the FreeDB web site; prints the albums found.
  sites [--save]        Print the server list the server sends; --save stores it in
                        CDPLAYER.INI (at most 1000 servers).
  stat                  Print the server's statistics.
  lookup PATH... [--select N] [--threads N]
                        Look the WAV files up on FreeDB as one disc (each track
                        lasting its play time), fetch the track lists of every
                        album found on parallel connections and print them:
                        number, category, disc ID, artist / title, year, tracks.
                        --select N applies album N and prints the list as list
                        does. encode --freedb N looks up, applies and encodes.

Options:
  --profile FILE        Use this profile instead of ~/.config/Orvandel/Wavsmith.ini
  -h, --help            Show this text
  --version             Show the program's version

)") + CSettingsOverrides::UsageText() +
           "\n" + CEncodeOptions::UsageText() + "\n" + CLanguageOptions::UsageText() + "\n" +
           CConnectionOptions::UsageText() + "\n" + CLookupOptions::UsageText() +
           "\nExit status: 0 on success; 1 when a path could not be read or a track was not\n"
           "encoded; 2 for bad usage; 130 when encode was stopped by Ctrl+C.\n";
}

int UsageError(const std::string& strError) {
    std::cerr << "wavsmith-cli: " << strError << "\nTry 'wavsmith-cli --help'.\n";
    return kExitUsage;
}
} // namespace

int main(int argc, char** argv) {
    SCliContext context;
    CArgParser parser;
    parser.AddValue("--profile", [&context](const std::string& value) {
        context.m_strProfilePath = value;
        return std::string();
    });
    parser.AddFlag("--help", [&context] { context.m_bHelp = true; });
    parser.AddFlag("-h", [&context] { context.m_bHelp = true; });
    parser.AddFlag("--version", [&context] { context.m_bVersion = true; });
    context.m_overrides.Register(parser);
    context.m_language.Register(parser);
    context.m_encodeOptions.Register(parser);
    context.m_connection.Register(parser);
    context.m_lookup.Register(parser);

    if (!parser.Parse(std::vector<std::string>(argv + 1, argv + argc)))
        return UsageError(parser.Error());
    if (context.m_bHelp) {
        std::cout << UsageText();
        return kExitSuccess;
    }
    if (context.m_bVersion) {
        std::cout << "wavsmith-cli " << WAVSMITH_VERSION << '\n';
        return kExitSuccess;
    }
    if (const std::string error = context.m_language.CheckLanguage(); !error.empty())
        return UsageError(error);
    if (parser.Positional().empty())
        return UsageError("no command given");
    const std::string& name = parser.Positional().front();
    context.m_paths.assign(parser.Positional().begin() + 1, parser.Positional().end());
    for (const SCommand& command : kCommands) {
        if (name == command.m_strName)
            return command.m_run(context);
    }
    return UsageError("unknown command '" + name + "'");
}
