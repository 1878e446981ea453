#pragma once

#include "app/SettingsPage.h"

#include <vector>

struct SAppContext;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The output and tag page: destination folder, file name template and number style with the
// example name, tag fields, playlist and the encode priority. Tag and playlist fields reach the
// settings as they are edited; the template and the tag flag when the page is stored. Lives
// in the window thread.
class CId3Page : public CSettingsPage {
    Q_OBJECT
public:
    explicit CId3Page(SAppContext& context, QWidget* pParent = nullptr);

    void RefreshPreview() override;
    void LoadFromSettings() override;
    void StoreToSettings() override;
    // The page's topic, or the Symbol Replacement window's while that is open.
    QString HelpTopic() const override;

    QString ExampleText() const;
    QString TemplateText() const;
    // The program's Help command, which the Symbol Replacement window offers.
    void SetHelpAction(QAction* pHelp) { m_pHelpAction = pHelp; }

signals:
    // The folder button: the view lets the user choose the destination.
    void DestinationRequested();
    // The same-folder box changed the folders the info bar shows.
    void FoldersChanged();

private:
    QWidget* BuildOutputGroup();
    QWidget* BuildNameGroup();
    QWidget* BuildTagGroup();
    QWidget* BuildPlaylistGroup();
    QPushButton* AddTokenButton(unsigned nTextId);
    QLabel* Label(unsigned nTextId, QWidget* pBuddy);
    void SetTabOrder();
    void FillPriorities();
    void FillJobs();
    void ShowDestination();
    void OnBrowse();
    void OnSameDirToggled(bool bOn);
    void OnNumberStyleChosen(int nStyle);
    void OnPlaylistChanged();
    // Copies the five tag fields into the settings and renames the playlist.
    void StoreTagFields();
    void OpenSymbolReplacement();

    SAppContext& m_context;
    QLineEdit* m_pDestination;
    QPushButton* m_pBrowse;
    QCheckBox* m_pSameDir;
    QCheckBox* m_pDeleteWav;
    QComboBox* m_pPriority;
    QComboBox* m_pJobs;
    QComboBox* m_pTemplate;
    QComboBox* m_pNumberStyle;
    QLabel* m_pExample;
    QCheckBox* m_pUseTag;
    QLineEdit* m_pArtist;
    QLineEdit* m_pAlbum;
    QLineEdit* m_pYear;
    QComboBox* m_pGenre;
    QLabel* m_pCommentLabel;
    QLineEdit* m_pComment;
    QComboBox* m_pPlaylistKind;
    QLineEdit* m_pPlaylistFormat;
    // The file name row's controls in their tab order, kept for SetTabOrder.
    std::vector<QWidget*> m_nameTabOrder;
    bool m_bSymbolWindowOpen = false;
    QAction* m_pHelpAction = nullptr;
};
