#include "ui/TexturesWindow.h"

#include "platform/CodePage.h"
#include "platform/TexturedLabel.h"
#include "settings/Settings.h"
#include "ui/Presentation.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>

namespace {

QCheckBox* MakeCheckBox(QWidget* parent, QRect geometry) {
    auto* box = new QCheckBox(parent);
    box->setGeometry(geometry);
    box->setStyleSheet("color: white");
    return box;
}

// A file or folder name that the settings file can hold and the program can open again by
// it: every character has its byte in the code page, and none is a control character.
bool Storable(const QString& name) {
    const QByteArray bytes = CodePage::FromUnicode(name);
    return CodePage::OneLine(bytes) == bytes && CodePage::ToUnicode(bytes) == name;
}

// The entries of the textures folder that can be chosen.
QStringList StorableEntries(const QString& folder, const QStringList& nameFilters,
                            QDir::Filters filters) {
    QStringList names = QDir(folder).entryList(nameFilters, filters, QDir::Name | QDir::IgnoreCase);
    names.removeIf([](const QString& name) { return !Storable(name); });
    return names;
}

} // namespace

TTexturesWindow::TTexturesWindow(TPresentation& look, QWidget* parent)
    : TSkinnedDialog(look, parent, ClientWidth, TexturesHeight), skins_(look.Skins) {
    UseSkinsCheckBox = MakeCheckBox(this, {10, 8, 290, 20});
    ComboBox1 = new QComboBox(this);
    ComboBox1->setGeometry(10, 32, 280, 24);
    CreateTextureControls();
    CoolOKButton = MakeOkButton(308, 295);

    connect(UseSkinsCheckBox, &QCheckBox::clicked, this, &TTexturesWindow::UseSkinsCheckBoxClick);
    connect(ComboBox1, &QComboBox::activated, this, &TTexturesWindow::ComboBox1Click);
    connect(CoolListBox, &QListWidget::currentRowChanged, this, &TTexturesWindow::CoolListBoxClick);
    connect(FileListBox1, &QListWidget::itemClicked, this, &TTexturesWindow::FileListBox1Click);
    connect(StretchBox, &QCheckBox::toggled, this, &TTexturesWindow::StretchBoxClick);
    connect(CoolResetButton, &TTexturedButton::Clicked, this,
            &TTexturesWindow::CoolResetButtonClick);
    AddButtonFace(CoolResetButton);
    UseSkinsCheckBox->setChecked(skins_.UseSkins);
}

void TTexturesWindow::CreateTextureControls() {
    CoolListBox = new QListWidget(this);
    CoolListBox->setGeometry(10, 40, 40, 190);
    for (int slot = 0; slot <= 8; ++slot)
        CoolListBox->addItem(QString::number(slot));
    FileListBox1 = new QListWidget(this);
    FileListBox1->setGeometry(58, 40, 120, 245);
    Panel1 = new QFrame(this);
    Panel1->setGeometry(186, 40, 164, 164);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Image1 = new QLabel(Panel1);
    Image1->setGeometry(5, 5, 154, 154);
    Image1->setAlignment(Qt::AlignCenter);
    StretchBox = MakeCheckBox(this, {186, 212, 164, 20});
    StretchBox->setText("Stretch");
    CoolResetButton = new TTexturedButton(this);
    CoolResetButton->setGeometry(186, 240, 40, 40);
    CoolResetButton->SetCaption(QString(QChar(0x21BA))); // an anticlockwise arrow
    CoolResetButton->SetFontColor(Qt::white);
    CoolResetButton->setToolTip("Default");
    QFont glyph = CoolResetButton->font();
    glyph.setPointSize(16);
    CoolResetButton->setFont(glyph);
}

void TTexturesWindow::showEvent(QShowEvent* event) {
    TSkinnedDialog::showEvent(event);
    setWindowTitle(GetTextU("Menu_Textures"));
    UseSkinsCheckBox->setText(GetTextU("UseSkins"));
    UseSkinsCheckBox->setChecked(skins_.UseSkins);
    ReadFileList();
    {
        const QSignalBlocker quiet(CoolListBox);
        CoolListBox->setCurrentRow(0);
    }
    CoolListBoxClick();
    UseSkinsCheckBoxClick();
}

int TTexturesWindow::SelectedSlot() const {
    return std::max(CoolListBox->currentRow(), 0);
}

void TTexturesWindow::ReadFileList() {
    FileListBox1->clear();
    FileListBox1->addItems(
        StorableEntries(skins_.TexturesFolder(), {"*.bmp", "*.jpg"}, QDir::Files));
}

void TTexturesWindow::ShowPreview() {
    Image1->setPixmap(skins_[SelectedSlot()]);
}

void TTexturesWindow::CoolListBoxClick() {
    ShowPreview();
    skins_.ApplySkins();
    const QByteArray& name = skins_.ImageNames[SelectedSlot()];
    const auto found = FileListBox1->findItems(CodePage::ToUnicode(name), Qt::MatchFixedString);
    if (name.isEmpty() || found.isEmpty())
        FileListBox1->setCurrentItem(nullptr);
    else
        FileListBox1->setCurrentItem(found.first());
}

void TTexturesWindow::FileListBox1Click() {
    if (const QListWidgetItem* item = FileListBox1->currentItem())
        skins_.ImageNames[SelectedSlot()] = BareFileName(CodePage::FromUnicode(item->text()));
    skins_.LoadSkinImages();
    CoolListBoxClick();
}

void TTexturesWindow::CoolResetButtonClick() {
    skins_.ImageNames[SelectedSlot()].clear();
    skins_.LoadSkinImages();
    CoolListBoxClick();
}

void TTexturesWindow::StretchBoxClick() {
    Image1->setScaledContents(StretchBox->isChecked());
}

void TTexturesWindow::UseSkinsCheckBoxClick() {
    skins_.UseSkins = UseSkinsCheckBox->isChecked();
    for (QWidget* control :
         {static_cast<QWidget*>(FileListBox1), static_cast<QWidget*>(CoolResetButton),
          static_cast<QWidget*>(StretchBox), static_cast<QWidget*>(CoolListBox),
          static_cast<QWidget*>(Panel1)})
        control->setVisible(!skins_.UseSkins);
    ComboBox1->setVisible(skins_.UseSkins);
    CoolOKButton->move(CoolOKButton->x(), skins_.UseSkins ? 12 : 295);
    setFixedSize(ClientWidth, skins_.UseSkins ? SkinsHeight : TexturesHeight);
    if (skins_.UseSkins)
        FillSkinList();
    ComboBox1Click();
}

void TTexturesWindow::FillSkinList() {
    const QSignalBlocker quiet(ComboBox1);
    ComboBox1->clear();
    ComboBox1->addItems(
        StorableEntries(skins_.TexturesFolder(), {}, QDir::Dirs | QDir::NoDotAndDotDot));
    ComboBox1->setCurrentIndex(
        ComboBox1->findText(CodePage::ToUnicode(skins_.SkinName), Qt::MatchFixedString));
}

// With no skin selected (skins off and the list never filled) the chosen skin is kept.
void TTexturesWindow::ComboBox1Click() {
    if (ComboBox1->currentIndex() >= 0)
        skins_.SkinName = CodePage::FromUnicode(ComboBox1->currentText());
    skins_.LoadSkinImages();
    skins_.ApplySkins();
    ShowPreview();
}
