#pragma once

#include <QToolBar>

class CStringCatalogue;
class QPushButton;

// The info bar: the source and the destination folder, each a button that chooses it
// anew. With MP3 files going beside their WAV files the destination says so instead.
class CInfoBar : public QToolBar {
    Q_OBJECT
public:
    CInfoBar(const CStringCatalogue& catalogue, QWidget* pParent);

    // Shows the folders; nothing is redrawn when neither changed.
    void ShowFolders(const QString& strSource, const QString& strDestination, bool bSameDir);

signals:
    void SourceClicked();
    void DestinationClicked();

private:
    QPushButton* AddField(unsigned nCaptionId, unsigned nCommandId);

    const CStringCatalogue& m_catalogue;
    QPushButton* m_pSource;
    QPushButton* m_pDestination;
};
