#include "app/AboutDialog.h"

#include "lang/StringCatalogue.h"
#include "lang/ui/UiText.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>

namespace {
constexpr unsigned kCaption = 59506;
constexpr unsigned kWordFor = 59447;
constexpr unsigned kUsesEncoder = 62230;
constexpr unsigned kEncoderLibrary = 62231;

QLabel* Link(const QString& strText, const QString& strUrl, QWidget* pParent) {
    auto* link = new QLabel(QStringLiteral("<a href=\"%1\">%2</a>")
                                .arg(strUrl.toHtmlEscaped(), strText.toHtmlEscaped()),
                            pParent);
    link->setTextInteractionFlags(Qt::TextBrowserInteraction);
    link->setAccessibleName(strText);
    QObject::connect(link, &QLabel::linkActivated, pParent, [](const QString& strLink) {
        if (!QDesktopServices::openUrl(QUrl(strLink)))
            QApplication::beep();
    });
    return link;
}
} // namespace

CAboutDialog::CAboutDialog(const CStringCatalogue& catalogue, QWidget* pParent) : QDialog(pParent) {
    setWindowTitle(UiText::Load(catalogue, kCaption));
    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(48, 48));
    auto* product = new QLabel(ProductLine(catalogue), this);
    QFont bold = product->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.25);
    product->setFont(bold);
    auto* translator = new QLabel(
        UiText::FromUtf8(catalogue
                             .FormatUiString(UiString::kTranslatedBy, catalogue.GetTranslatorName(),
                                             catalogue.GetTranslatorEmail())
                             .value_or(catalogue.GetTranslatorName())),
        this);

    const QString address = QString::fromLatin1(kMakerAddress);
    const QString site = QString::fromLatin1(kMakerSite);
    const QString encoderSite = QString::fromLatin1(kEncoderSite);
    auto* text = new QVBoxLayout;
    text->addWidget(product);
    text->addWidget(translator);
    text->addSpacing(8);
    text->addWidget(Link(address, QStringLiteral("mailto:") + address, this));
    text->addWidget(Link(site, QStringLiteral("https://") + site, this));
    text->addSpacing(8);
    text->addWidget(new QLabel(UiText::Load(catalogue, kUsesEncoder), this));
    text->addWidget(new QLabel(UiText::Load(catalogue, kEncoderLibrary), this));
    text->addWidget(Link(encoderSite, encoderSite, this));

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(text, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QIcon CAboutDialog::ProgramIcon() {
    // The resources of a static library are registered by hand, once.
    static const bool registered = [] {
        Q_INIT_RESOURCE(Wavsmith);
        return true;
    }();
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64})
        icon.addFile(QStringLiteral(":/wavsmith/icon-%1.png").arg(size), QSize(size, size));
    return registered ? icon : QIcon();
}

QString CAboutDialog::ProductLine(const CStringCatalogue& catalogue) {
    return QStringLiteral("Wavsmith %1 %2 Linux")
        .arg(QStringLiteral(WAVSMITH_VERSION), UiText::Load(catalogue, kWordFor));
}
