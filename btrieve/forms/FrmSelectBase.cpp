// FrmSelectBase's window: controls, design layout and its scaling to the font scale.
#include "btrieve/forms/FrmSelectBase.h"

#include <algorithm>

#include <QFont>
#include <QPainter>

#include "foundation/ErrorReporter.h"
#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"

namespace forms = platform::forms;

namespace {

// A design size, widened where the desktop's font needs more room for the caption than the
// design's did (the design font may be missing: "Station" then read "Statior").
void placeLabel(forms::Label& label, double left, double top, double width, double height) {
    const QSize needed = label.sizeHint();
    label.Move(left, top, std::max(width, double(needed.width() * forms::kTwipsPerPixel)),
               std::max(height, double(needed.height() * forms::kTwipsPerPixel)));
}

QFont fontOf(const char* family, double points) {
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

}  // namespace

FrmSelectBase::FrmSelectBase()
    : Form("FrmSelectBase"), banner_(":/FrmSelectBase/FrmSelectBase_Banniere.png") {
    SetCaption("Choix de la base");
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    const struct {
        const char* text;
        const char* family;
        double points;
    } labels[] = {
        {"Base:", "MS Sans Serif", 9.75},
        {"Station", "MS Sans Serif", 9.75},
        {"Sélectionnez la base et la station", "Arial", 15.75},
        {"Aerolune", "Arial", 24},
    };
    for (int i = 0; i < 4; ++i) {
        Label.push_back(new forms::Label(this, i));
        Label.back()->SetCaption(labels[i].text);
        Label.back()->setFont(fontOf(labels[i].family, labels[i].points));
    }
    ComboBase = new forms::ComboBox(this);
    ComboStation = new forms::ComboBox(this);
    for (int i = 0; i < 2; ++i) {
        CommandFermer.push_back(new forms::CommandButton(this, i));
        CommandFermer.back()->Click = [this, i] { CommandFermer_Click(i); };
    }
    CommandFermer[0]->SetCaption("Valider");
    CommandFermer[1]->SetCaption("Quitter");
    ComboBase->Click = [this] { ComboBase_Click(); };
    placeControls(1.0);
    // The design layout above: Label 2 at 1560 and "Valider" 1095 wide.
    Label[2]->SetLeft(1560);
    CommandFermer[0]->SetWidth(1095);
}

void FrmSelectBase::placeControls(double scale) {
    Move(Left(), Top(), 7560 / scale, 5895 / scale);
    placeLabel(*Label[0], 960 / scale, 2160 / scale, 615, 240);
    placeLabel(*Label[1], 960 / scale, 3060 / scale, 735, 240);
    placeLabel(*Label[2], 960 / scale, 1200 / scale, 4950, 360);
    placeLabel(*Label[3], 960 / scale, 360 / scale, 2655, 555);
    ComboBase->Move(2220 / scale, 2580 / scale, 4335 / scale, 315);
    ComboStation->Move(2220 / scale, 3480 / scale, 4335 / scale, 315);
    CommandFermer[0]->Move(6300 / scale, 5340 / scale, 1155 / scale, 375);
    CommandFermer[1]->Move(5040 / scale, 5340 / scale, 1155 / scale, 375);
}

void FrmSelectBase::paintEvent(QPaintEvent* event) {
    Form::paintEvent(event);
    QPainter(this).drawPixmap(rect(), banner_);
}

void FrmSelectBase::Form_Load() {
    neighbours::Frm_Main().LookFenetre(*this);
    if (PbFCoefPolice == 1.0f || PbFCoefPolice == 0.0f) return;
    placeControls(PbFCoefPolice);
}

void FrmSelectBase::AddBase(const std::string& label, int16_t baseIndex) {
    ComboBase->AddItem(label);
    baseOfLine_.resize(size_t(ComboBase->ListCount()) - 1, -1);
    baseOfLine_.push_back(baseIndex);
}

void FrmSelectBase::ClearBases() {
    ComboBase->Clear();
    baseOfLine_.clear();
}

int16_t FrmSelectBase::BaseOfLine(int line) const {
    if (line < 0 || line >= ComboBase->ListCount()) return -1;
    // A line added straight to the list stands for the base of its position.
    if (size_t(line) >= baseOfLine_.size() || baseOfLine_[size_t(line)] < 0) return int16_t(line);
    return baseOfLine_[size_t(line)];
}

int FrmSelectBase::LineOfBase(int16_t baseIndex) const {
    for (int line = 0; line < ComboBase->ListCount(); ++line)
        if (BaseOfLine(line) == baseIndex) return line;
    return -1;
}
