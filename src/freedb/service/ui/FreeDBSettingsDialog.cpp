#include "freedb/service/ui/FreeDBSettingsDialog.h"

#include "app/AppContext.h"
#include "freedb/service/ui/FreeDBSettingsSheet.h"
#include "freedb/service/ui/FreeDBTexts.h"
#include "lang/ui/UiText.h"
#include "platform/PlatformPaths.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

CFreeDBSettingsDialog::CFreeDBSettingsDialog(SAppContext& context, QWidget* pParent)
    : QDialog(pParent), m_pSheet(new CFreeDBSettingsSheet(context, this)) {
    setWindowTitle(UiText::Load(context.m_catalogue, FreeDBText::kSettingsCaption));
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(UiText::Load(context.m_catalogue, FreeDBText::kOk),
                       QDialogButtonBox::AcceptRole);
    QPushButton* help = buttons->addButton(UiText::Load(context.m_catalogue, FreeDBText::kHelp),
                                           QDialogButtonBox::HelpRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CFreeDBSettingsDialog::accept);
    connect(help, &QPushButton::clicked, this, [] {
        QDesktopServices::openUrl(
            QUrl::fromLocalFile(UiText::FromUtf8(CPlatformPaths::HelpDir() + kHelpTopic)));
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pSheet);
    layout->addWidget(buttons);
}

void CFreeDBSettingsDialog::accept() {
    m_pSheet->Store();
    QDialog::accept();
}
