#pragma once

// Catalogue identifiers of the FreeDB windows' texts: the editor, its dialogs and the
// settings pages.
namespace FreeDBText {
// Editor window
constexpr unsigned kEditorCaption = 7000;
constexpr unsigned kStop = 59510;
constexpr unsigned kSelect = 7002;
constexpr unsigned kCancel = 7003;
constexpr unsigned kSearch = 7004;
constexpr unsigned kStopTip = 7005;
constexpr unsigned kSelectTip = 7006;
constexpr unsigned kSearchTip = 7007;
constexpr unsigned kSearchOptions = 7008;
constexpr unsigned kNoAlbumSelected = 7009;
constexpr unsigned kNoTracklist = 7010;
constexpr unsigned kInfoFormat = 7011;
constexpr unsigned kOnline = 7012;
constexpr unsigned kOffline = 7013;
constexpr unsigned kSearchLabel = 7014;
constexpr unsigned kPrefs = 7015;
constexpr unsigned kLogName = 7016;
constexpr unsigned kTreeName = 7017;
constexpr unsigned kTrackListName = 7018;
constexpr unsigned kProgressName = 7019;
constexpr unsigned kStatusName = 7020;
constexpr unsigned kInfoName = 7021;
// Track list columns, then their menu items
constexpr unsigned kFirstColumn = 7030;     // "Title", "#", "Length", "Frames", ...
constexpr unsigned kFirstColumnItem = 7036; // "&Track #", "T&rack title", ...
// Menus
constexpr unsigned kMenuFile = 7050;
constexpr unsigned kMenuActions = 7051;
constexpr unsigned kMenuView = 7052;
constexpr unsigned kMenuHelp = 7053;
constexpr unsigned kShowCdPlayerIni = 7054;
constexpr unsigned kClearLog = 7055;
constexpr unsigned kSaveLog = 7056;
constexpr unsigned kClose = 7057;
constexpr unsigned kGetTracklist = 7058;
constexpr unsigned kGetTracklistItem = 7059;
constexpr unsigned kCancelItem = 7060;
constexpr unsigned kStopItem = 7061;
constexpr unsigned kEditTitle = 7062;
constexpr unsigned kEditExtra = 7063;
constexpr unsigned kEditArtist = 7064;
constexpr unsigned kSelectItem = 7065;
constexpr unsigned kStopAction = 7066;
constexpr unsigned kShowSearchBar = 7067;
constexpr unsigned kShowInfoBar = 7068;
constexpr unsigned kShowStatusBar = 7069;
constexpr unsigned kDatabaseInfo = 7070;
constexpr unsigned kSettings = 7071;
constexpr unsigned kContents = 7072;
constexpr unsigned kHotkeys = 7073;
constexpr unsigned kAbout = 7074;
constexpr unsigned kCheckSite = 7075;
constexpr unsigned kCheckVersion = 7076;
constexpr unsigned kExpandAll = 7077;
constexpr unsigned kCollapseAll = 7078;
constexpr unsigned kExpand = 7079;
constexpr unsigned kCollapse = 7080;
constexpr unsigned kTreeWidthFormat = 7081; // "%u/%u"
// Search options window
constexpr unsigned kSearchInArtist = 7090;
constexpr unsigned kSearchInTitles = 7091;
constexpr unsigned kSearchInTracks = 7092;
constexpr unsigned kSearchInOther = 7093;
// Messages
constexpr unsigned kCantCreateFile = 7095;
constexpr unsigned kErrorCaption = 7096;
constexpr unsigned kLogFilter = 7097;
constexpr unsigned kCdPlayerIniNotFound = 7099;
constexpr unsigned kLookupException = 7100;
// Settings sheet
constexpr unsigned kSettingsCaption = 4041;
constexpr unsigned kConnectionPage = 7111;
constexpr unsigned kOptionsPage = 7112;
constexpr unsigned kLocalDbPage = 7113;
constexpr unsigned kOk = 7114;
constexpr unsigned kHelp = 7115;
constexpr unsigned kTreeViewGroup = 7116;
constexpr unsigned kFirstLevelName = 7117; // "Category", "Artist", "Album", "Disk ID"
constexpr unsigned kMoveUp = 7121;
constexpr unsigned kMoveDown = 7122;
constexpr unsigned kToggleLevel = 7123;
constexpr unsigned kLoggingGroup = 7124;
constexpr unsigned kStandardLogging = 7125;
constexpr unsigned kFullLogging = 7126;
constexpr unsigned kCachingGroup = 7127;
constexpr unsigned kFirstCaching = 7128; // "None", "Just selected albums", "All retrieved albums"
constexpr unsigned kUseProxy = 7131;
constexpr unsigned kProxySettings = 7132;
constexpr unsigned kTimeout = 7133;
constexpr unsigned kEmail = 7134;
constexpr unsigned kConnections = 7135;
constexpr unsigned kGetServers = 7136;
constexpr unsigned kServerFormat = 7137; // "%s /%s/ (%s)"
constexpr unsigned kServer = 7138;
constexpr unsigned kSeconds = 7139;
constexpr unsigned kEmailDomain = 7140;
// Proxy settings and password
constexpr unsigned kProxyCaption = 7141;
constexpr unsigned kProxyAddress = 7142;
constexpr unsigned kProxyPort = 7143;
constexpr unsigned kProxyAuth = 7144;
constexpr unsigned kAskPassword = 7145;
constexpr unsigned kUseAuthInfo = 7146;
constexpr unsigned kProxyUser = 7147;
constexpr unsigned kProxyPassword = 7148;
constexpr unsigned kPasswordCaption = 7149;
constexpr unsigned kPasswordUser = 7150;
constexpr unsigned kPasswordPassword = 7151;
// Server list
constexpr unsigned kServersCaption = 7152;
constexpr unsigned kConnecting = 7153;
constexpr unsigned kRetrievingServers = 7154;
constexpr unsigned kServersRetrieved = 7155; // "Total %u server(s) retrieved"
constexpr unsigned kOperationFailed = 7156;
constexpr unsigned kCanceled = 7157;
constexpr unsigned kServerRowFormat = 7158; // "%.02u - %s:%s (%s) %s"
constexpr unsigned kServersName = 7159;
// Database info
constexpr unsigned kDatabaseCaption = 7160;
constexpr unsigned kRemotePage = 7161;
constexpr unsigned kLocalPage = 7162;
constexpr unsigned kRefresh = 7163;
constexpr unsigned kRefreshTip = 7164;
constexpr unsigned kRetrievingInfo = 7165;
constexpr unsigned kStatsFormat = 7166;
constexpr unsigned kCantRetrieveInfo = 7167;
constexpr unsigned kLocalFormat = 7168;
constexpr unsigned kSizeBytes = 7169;     // "%u bytes"
constexpr unsigned kSizeKilobytes = 7170; // "%.02f Kbytes (%u bytes)"
constexpr unsigned kSizeMegabytes = 7171; // "%.02f Mbytes (%u bytes)"
} // namespace FreeDBText
