#include "console/core/frmAboutBox.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "console/core/LocalizeForm.h"
#include "console/core/Pictures.h"
#include "console/core/StringTable.h"

namespace console {

namespace {

constexpr int kBaseId = 800;
constexpr int kAboutText = 804;

}  // namespace

frmAboutBox::frmAboutBox(QWidget* parent)
    : QDialog(parent), Picture1(new QLabel), lblAbout(new QLabel), Command1(new QPushButton("&OK")) {
    setObjectName("frmAboutBox");
    Picture1->setPixmap(BannerPicture());
    lblAbout->setText(LoadString(kAboutText));
    lblAbout->setWordWrap(true);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(Command1, QDialogButtonBox::AcceptRole);
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);
    layout->addWidget(Picture1);
    layout->addWidget(lblAbout);
    layout->addWidget(buttons);
    LocalizeForm(this, kBaseId, CaptionOrder() << Command1);
    setFixedSize(sizeHint());
}

}  // namespace console
