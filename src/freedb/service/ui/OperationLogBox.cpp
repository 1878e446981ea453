#include "freedb/service/ui/OperationLogBox.h"

#include "freedb/service/ui/FreeDBIcons.h"
#include "lang/ui/UiText.h"

#include <QAbstractItemView>

COperationLogBox::COperationLogBox(QWidget* pParent) : QComboBox(pParent), m_log(this) {
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(20);
    setIconSize(QSize(16, 16));
    setMaxVisibleItems(15);
}

void COperationLogBox::ClearLog() {
    m_log.Clear();
    clear();
}

// Any thread, with the log's delivery lock held: hand a copy to the window's thread.
void COperationLogBox::OnLogLine(int nLevel, const std::string& strLine) {
    QMetaObject::invokeMethod(
        this, [this, nLevel, line = UiText::FromUtf8(strLine)] { Append(nLevel, line); },
        Qt::QueuedConnection);
}

void COperationLogBox::Append(int nLevel, const QString& strLine) {
    addItem(FreeDBIcons::LogLevel(this, nLevel), strLine, nLevel);
    if (!view()->isVisible() && !hasFocus())
        setCurrentIndex(count() - 1);
    emit LineAdded();
}
