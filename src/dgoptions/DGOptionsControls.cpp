#include "dgoptions/DGOptionsControls.h"

#include "classic/FormBuilder.h"
#include "classic/ThreeStateCheckBox.h"
#include "classic/Twips.h"
#include "dgoptions/HeaderSummary.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

namespace kadrix {

namespace {

inline constexpr int kRowHeight = 270;

QGroupBox* frame(QWidget* parent, const char* name, const char* caption, QRect geometry)
{
    return place(new QGroupBox(QString::fromLatin1(caption), parent), name, geometry);
}

QRadioButton* option(QWidget* parent, const char* name, const char* caption, QRect geometry)
{
    return place(new QRadioButton(QString::fromLatin1(caption), parent), name, geometry);
}

ThreeStateCheckBox* checkBox(QWidget* parent, const char* name, const char* caption, QRect geometry)
{
    return place(new ThreeStateCheckBox(QString::fromLatin1(caption), parent), name, geometry);
}

// Buttons of one group share their name and are told apart by an index.
QRadioButton* indexedOption(QWidget* parent, const char* name, size_t index, const char* caption,
                            QRect geometry)
{
    QRadioButton* button = option(parent, name, caption, geometry);
    setIndex(button, index);
    return button;
}

void buildReferenceFrame(QWidget* form, DGOptionsControls& ui)
{
    ui.fraRef = frame(form, "fraRef", "Reference system", twipsRect(120, 60, 2415, 4035));
    for (size_t i = 0; i < ui.optRef.size(); ++i) {
        ui.optRef[i] = indexedOption(ui.fraRef, "optRef", i, kReferenceSystemCaptions[i],
                                     twipsRect(120, 300 + int(i) * 360, 2175, kRowHeight));
    }
    ui.optRef[0]->setChecked(true);
}

void buildViewFrame(QWidget* form, DGOptionsControls& ui)
{
    ui.fraView = frame(form, "fraView", "3-D View", twipsRect(2655, 60, 2820, 1155));
    const std::array<const char*, 3> captions{"&View X-Y (sagittal)", "&View X-Z (frontal)",
                                              "&View Y-Z (top)"};
    for (size_t i = 0; i < ui.optView.size(); ++i) {
        ui.optView[i] = indexedOption(ui.fraView, "optView", i, captions[i],
                                      twipsRect(120, 255 + int(i) * 285, 2580, kRowHeight));
    }
    ui.optView[0]->setChecked(true);
}

void buildOptionsFrame(QWidget* form, DGOptionsControls& ui)
{
    ui.fraReverse = frame(form, "fraReverse", "Options", twipsRect(2655, 1320, 2820, 1155));
    ui.chkFilteredData = checkBox(ui.fraReverse, "chkFilteredData", "&Show filtered data",
                                  twipsRect(120, 255, 2580, kRowHeight));
    ui.chkHideMissing = checkBox(ui.fraReverse, "chkHideMissing", "Hide (0,0) coordinates",
                                 twipsRect(120, 540, 2580, kRowHeight));
    ui.chkReadOnly = checkBox(ui.fraReverse, "chkReadOnly", "Make &Read-only",
                              twipsRect(120, 825, 2580, kRowHeight));
}

void buildReverseBox(QWidget* form, DGOptionsControls& ui)
{
    ui.chkReverseX = checkBox(form, "chkReverseX", "Check to reverse &X-coordinates",
                              twipsRect(2715, 2565, 2760, kRowHeight));
    ui.chkReverseX->setValue(ThreeStateCheckBox::kGrayed);
    ui.chkReverseX->setToolTip(QStringLiteral(
        "Check to reverse X coordinates, uncheck for digitized direction. Leave grayed for no "
        "change."));
}

void buildFilteredFrame(QWidget* form, DGOptionsControls& ui)
{
    ui.fraFiltered = frame(form, "fraFiltered", "Filtered", twipsRect(2655, 2910, 2820, 600));
    ui.optFiltered = option(ui.fraFiltered, "optFiltered", "&Filtered data",
                            twipsRect(120, 255, 2580, kRowHeight));
    ui.fraFiltered->hide();
}

void buildButtons(QWidget* form, DGOptionsControls& ui)
{
    ui.cmdExit = place(new QPushButton(QStringLiteral("O&K"), form), "cmdExit",
                       twipsRect(2655, 3675, 1335, 420));
    ui.cmdCancel = place(new QPushButton(QStringLiteral("&Cancel"), form), "cmdCancel",
                         twipsRect(4140, 3675, 1335, 420));
}

} // namespace

void buildDGOptionsControls(QWidget* form, DGOptionsControls& ui)
{
    buildReferenceFrame(form, ui);
    buildViewFrame(form, ui);
    buildOptionsFrame(form, ui);
    buildReverseBox(form, ui);
    buildFilteredFrame(form, ui);
    buildButtons(form, ui);
    form->setFixedSize(twips(5595), twips(4215));
}

} // namespace kadrix
