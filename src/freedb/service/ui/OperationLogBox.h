#pragma once

#include "freedb/service/OperationLog.h"
#include "freedb/service/OperationLogObserver.h"

#include <QComboBox>

// The log of a FreeDB window: a drop-down list of the stamped lines, each with the icon of
// its level. It owns the operation log; lines added on any thread are posted to the
// window's thread and appended there. Unless the list is open or has the focus, the
// newest line is shown.
class COperationLogBox : public QComboBox, private IOperationLogObserver {
    Q_OBJECT
public:
    explicit COperationLogBox(QWidget* pParent = nullptr);

    COperationLog& Log() { return m_log; }
    bool HasLines() const { return count() > 0; }
    // Empties the list and the log.
    void ClearLog();

signals:
    void LineAdded();

private:
    void OnLogLine(int nLevel, const std::string& strLine) override;
    void Append(int nLevel, const QString& strLine);

    COperationLog m_log;
};
