#pragma once

#include "filelist/TrackInfoPages.h"

#include <QDialog>

class CAppSettings;
class CProfile;
class CStringCatalogue;
class CTrackItem;
class QPlainTextEdit;
class QTabBar;

// The file information window: one track described on tabbed text pages (General,
// Album, WAV, MP3). It opens on the tab and at the place it had when it last closed,
// and fades out on closing.
class CFileInformationDialog : public QDialog {
    Q_OBJECT
public:
    CFileInformationDialog(const CTrackItem& track, const CAppSettings& settings,
                           const CStringCatalogue& catalogue, CProfile& profile,
                           QWidget* pParent = nullptr);

    QTabBar& Tabs() { return *m_pTabs; }
    QString ShownText() const;

    void done(int nResult) override;

private:
    void ShowPage(int nTab);
    void RestorePlace();
    void FadeOut();

    CProfile& m_profile;
    SInfoPages m_pages;
    QTabBar* m_pTabs;
    QPlainTextEdit* m_pText;
};
