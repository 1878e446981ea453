#include "freedb/service/ui/LocalDbPage.h"

#include "app/AppContext.h"
#include "freedb/service/FreeDBSettings.h"
#include "freedb/service/ui/FreeDBTexts.h"
#include "lang/ui/UiText.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

CLocalDbPage::CLocalDbPage(SAppContext& context, QWidget* pParent)
    : QWidget(pParent), m_context(context) {
    auto* group = new QGroupBox(UiText::Load(context.m_catalogue, FreeDBText::kCachingGroup), this);
    auto* groupLayout = new QVBoxLayout(group);
    for (size_t i = 0; i < m_choices.size(); ++i) {
        m_choices[i] = new QRadioButton(
            UiText::Load(context.m_catalogue, FreeDBText::kFirstCaching + static_cast<unsigned>(i)),
            group);
        groupLayout->addWidget(m_choices[i]);
        connect(m_choices[i], &QRadioButton::clicked, this, [this] { m_bModified = true; });
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addStretch(1);
    Load();
}

void CLocalDbPage::Load() {
    CFreeDBSettings::SProfileOptions options;
    options.Load(m_context.m_profile);
    m_choices[std::min<size_t>(options.m_nWriteToLocalDB, m_choices.size() - 1)]->setChecked(true);
    m_bModified = false;
}

bool CLocalDbPage::Store() {
    CFreeDBSettings::SProfileOptions options;
    options.Load(m_context.m_profile);
    for (size_t i = 0; i < m_choices.size(); ++i) {
        if (m_choices[i]->isChecked())
            options.m_nWriteToLocalDB = static_cast<unsigned>(i);
    }
    m_bModified = false;
    return options.Save(m_context.m_profile);
}
