#include "browser/BrowserPanel.h"

#include "browser/DirectoryList.h"
#include "browser/DriveList.h"
#include "browser/FileList.h"
#include "classic/CaptionCheckBox.h"
#include "classic/Fonts.h"
#include "classic/FormBuilder.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

namespace kadrix {

namespace {

const QColor kListColour(192, 255, 192);

QLabel* designLabel(QWidget* parent, const char* name, const QString& caption, QRect geometry,
                    const QFont& font)
{
    auto* control = place(new QLabel(displayCaption(caption), parent), name, geometry);
    control->setFont(font);
    control->setWordWrap(true);
    control->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return control;
}

template <typename List>
List* listBox(QWidget* parent, const char* name, QRect geometry, const QString& toolTip)
{
    auto* control = place(new List(parent), name, geometry, toolTip);
    control->setFont(sansSerifFont(8.25, true));
    QPalette palette = control->palette();
    palette.setColor(QPalette::Base, kListColour);
    control->setPalette(palette);
    return control;
}

QGroupBox* frame(QWidget* parent, const char* name, QRect geometry)
{
    auto* control = place(new QGroupBox(parent), name, geometry);
    control->setFlat(false);
    return control;
}

void buildBrowser(QWidget* client, BrowserPanel& ui)
{
    const QFont heading = sansSerifFont(9.75, true);
    ui.lblDrives = designLabel(client, "lblDrives", QStringLiteral("Drives && directories"),
                               twipsRect(720, 0, 2295, 375), heading);
    ui.drvDrives = place(new DriveList(client), "drvDrives", twipsRect(600, 240, 2295, 360),
                         QStringLiteral("Click to select data drive"));
    QPalette drivePalette = ui.drvDrives->palette();
    drivePalette.setColor(QPalette::Base, kListColour);
    ui.drvDrives->setPalette(drivePalette);
    ui.dirSelect = listBox<DirectoryList>(client, "dirSelect", twipsRect(120, 600, 2775, 3465),
                                          QStringLiteral("Select the data directory"));
    ui.lblDatafiles = designLabel(client, "lblDatafiles", QStringLiteral("Image data files"),
                                  twipsRect(3240, 0, 1695, 255), heading);
    ui.filDatafiles =
        listBox<FileList>(client, "filDatafiles", twipsRect(3000, 240, 2055, 3405),
                          QStringLiteral("Click to select motion data; double click to animate."));
    ui.fraImages = frame(client, "fraImages", twipsRect(3000, 3650, 2055, 1095));
    ui.chkAll = place(new CaptionCheckBox(QStringLiteral("Include read-only files (.cn, .km, .3d)"),
                                          ui.fraImages),
                      "chkAll", twipsRect(120, 240, 1815, 735),
                      QStringLiteral("Check to include read-only filetypes in listbox"));
    ui.lblConverts =
        designLabel(client, "lblConverts", QStringLiteral("Files that may be converted by Xfer2DG"),
                    twipsRect(5280, 120, 1815, 735), heading);
    ui.filConverts = listBox<FileList>(
        client, "filConverts", twipsRect(5160, 840, 2055, 2820),
        QStringLiteral("Click to select file for conversion; double click to start conversion.  "
                       "Note, not all files in list are motion data."));
    // Several files selected are converted one after another.
    ui.filConverts->allowSeveral();
    // Screen readers name each list after its heading.
    ui.drvDrives->setAccessibleName(QStringLiteral("Drives"));
    ui.dirSelect->setAccessibleName(QStringLiteral("Directories"));
    ui.filDatafiles->setAccessibleName(ui.lblDatafiles->text());
    ui.filConverts->setAccessibleName(ui.lblConverts->text());
}

void buildFilters(BrowserPanel& ui, QWidget* client)
{
    ui.fraConvert = frame(client, "fraConvert", twipsRect(5160, 3650, 2055, 1500));
    const std::array<QString, 4> captions = {
        QStringLiteral("All image files"), QStringLiteral("Exclude .TXT"),
        QStringLiteral("Only .CSV files"), QStringLiteral("All files")};
    const std::array<QString, 4> toolTips = {
        QStringLiteral("Display all convertible image files"),
        QStringLiteral("Display all convertible image files except .TXT files"),
        QStringLiteral("Display only comma-separated-variables (.CSV) files"),
        QStringLiteral("Display all file types")};
    for (size_t i = 0; i < ui.optConvert.size(); ++i) {
        const int index = static_cast<int>(i);
        ui.optConvert.at(i) = place(new QRadioButton(captions.at(i), ui.fraConvert), "optConvert",
                                    twipsRect(120, 240 + 240 * index, 1815, 255), toolTips.at(i));
        ui.optConvert.at(i)->setProperty("index", index);
    }
    ui.optConvert.at(1)->setChecked(true);
}

void buildTrialLabels(BrowserPanel& ui, QWidget* client)
{
    const QFont font = sansSerifFont(8.25, true);
    ui.lblTrial = designLabel(client, "lblTrial", QStringLiteral("Selected file:"),
                              twipsRect(120, 4200, 2775, 255), font);
    ui.lblPath = designLabel(client, "lblPath", QStringLiteral("Current path:"),
                             twipsRect(120, 4680, 3975, 495), font);
}

} // namespace

void buildBrowserPanel(QWidget* client, BrowserPanel& ui)
{
    buildBrowser(client, ui);
    buildFilters(ui, client);
    buildTrialLabels(ui, client);
}

} // namespace kadrix
