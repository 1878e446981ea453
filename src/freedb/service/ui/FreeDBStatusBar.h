#pragma once

#include <QStatusBar>

class CStringCatalogue;
class QLabel;
class QProgressBar;

// The status bar of the FreeDB windows: the connection field ("Online" or "Offline"), the
// progress bar and the status text.
class CFreeDBStatusBar : public QStatusBar {
    Q_OBJECT
public:
    CFreeDBStatusBar(const CStringCatalogue& catalogue, QWidget* pParent = nullptr);

    void SetOnline(bool bOnline);
    bool IsOnline() const { return m_bOnline; }
    QProgressBar& Progress() { return *m_pProgress; }
    void SetStatusText(const QString& strText);
    QString StatusText() const;
    // The width the bar needs to show `strText` whole beside its other fields.
    int WidthToShow(const QString& strText) const;

private:
    const CStringCatalogue& m_catalogue;
    QLabel* m_pConnectionIcon;
    QLabel* m_pConnection;
    QProgressBar* m_pProgress;
    QLabel* m_pStatus;
    bool m_bOnline = false;
};
