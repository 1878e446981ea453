#pragma once

// Identifiers of the main window's commands. Each is also the catalogue identifier of the
// command's status-bar prompt and, with a language selected, of its menu text.
namespace CommandId {
constexpr unsigned kOpenFiles = 32771;
constexpr unsigned kOpenDirectory = 32772;
constexpr unsigned kEncode = 32773;
constexpr unsigned kHelp = 32774;
constexpr unsigned kAbout = 32775;
constexpr unsigned kExit = 32776;
constexpr unsigned kMainBar = 32777;
constexpr unsigned kInfoBar = 32778;
constexpr unsigned kHotKeys = 32794;
constexpr unsigned kVisitSite = 32795;
constexpr unsigned kCheckVersion = 32796;
constexpr unsigned kRefresh = 32797;
constexpr unsigned kFirstTab = 32798; // 32798, 32799, 32800: tabs 0 to 2
constexpr unsigned kFreeDBTab = 32826;
constexpr unsigned kEnglish = 32801;
constexpr unsigned kPriorityLow = 32802; // to 32806, priorities -2 to 2
constexpr unsigned kPriorityHighest = 32806;
constexpr unsigned kColumnNumber = 32809;
constexpr unsigned kColumnWavName = 32810;
constexpr unsigned kColumnWavSize = 32811;
constexpr unsigned kColumnPlayTime = 32812;
constexpr unsigned kColumnMp3Size = 32813;
constexpr unsigned kColumnMp3Name = 32814;
constexpr unsigned kColumnTitle = 32815;
constexpr unsigned kColumnStatus = 32816;
constexpr unsigned kDestination = 32817;
constexpr unsigned kDirectoryTree = 32818;
constexpr unsigned kColumnDirectory = 32819;
constexpr unsigned kPlayWav = 32823;
constexpr unsigned kPlayMp3 = 32824;
constexpr unsigned kFreeDB = 32825;
constexpr unsigned kStatusBar = 59393;
constexpr unsigned kClearStatus = 4005;
constexpr unsigned kCheckAll = 4007;
constexpr unsigned kUncheckAll = 4008;
constexpr unsigned kDeleteItem = 4016;
constexpr unsigned kDeleteAll = 4017;
constexpr unsigned kInvertSelection = 1951;
constexpr unsigned kFileInformation = 1953;
constexpr unsigned kFirstLanguage = 61001; // to 61019
} // namespace CommandId
