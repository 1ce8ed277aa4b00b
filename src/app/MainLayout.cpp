#include "app/MainLayout.h"

#include "app/MainControls.h"
#include "classic/CaptionButton.h"
#include "classic/Fonts.h"
#include "classic/FormBuilder.h"

namespace kadrix {

namespace {

CaptionButton* button(QWidget* parent, const char* name, const QString& caption, QRect geometry,
                      const QString& toolTip, const QFont& font, bool enabled)
{
    auto* control = place(new CaptionButton(caption, parent), name, geometry, toolTip);
    control->setFont(font);
    control->setEnabled(enabled);
    return control;
}

void buildButtons(MainControls& ui, QWidget* client)
{
    const QFont font = sansSerifFont(9.75, true);
    ui.cmdEdit =
        button(client, "cmdEdit", QStringLiteral("&View and edit"), twipsRect(7320, 120, 1215, 615),
               QStringLiteral("Click to view selected file and header information. "
                              "Editing is permitted to .DG and .1T files."),
               font, false);
    ui.cmdView = button(client, "cmdView", QStringLiteral("&Edit && convert"),
                        twipsRect(7320, 840, 1215, 615),
                        QStringLiteral("Click to view selected file and convert to .DG format if "
                                       "necessary. Editing is permitted on most file types."),
                        font, false);
    ui.cmdAnimate = button(
        client, "cmdAnimate", QStringLiteral("&Animate only"), twipsRect(7320, 1560, 1215, 615),
        QStringLiteral("Click to animate selected data file in read-only mode"), font, false);
    ui.cmdConvert = button(client, "cmdConvert", QStringLiteral("Run &Xfer2DG"),
                           twipsRect(7320, 2280, 1215, 615),
                           QStringLiteral("Click to convert selected file with Xfer2DG.  Use Data "
                                          "menu for Ariel files."),
                           font, false);
    ui.cmdRefresh = button(client, "cmdRefresh", QStringLiteral("&Refresh file lists"),
                           twipsRect(7320, 3000, 1215, 615),
                           QStringLiteral("Click to refresh file lists"), font, true);
    ui.cmdManuals =
        button(client, "cmdManuals", QStringLiteral("Man&ual"), twipsRect(7320, 3720, 1215, 615),
               QStringLiteral("Click to view User's Manual"), font, false);
    ui.cmdExit =
        button(client, "cmdExit", QStringLiteral("E&xit"), twipsRect(7320, 4560, 1215, 615),
               QStringLiteral("Click to exit"), font, true);
    ui.cmdOptions = button(client, "cmdOptions", QStringLiteral("&Options"),
                           twipsRect(4080, 4800, 975, 375), {}, client->font(), false);
    // The "&Animate" and "&Options" menus share these buttons' access keys;
    // the menus keep them, so that every menu is reachable from the keyboard.
    ui.cmdAnimate->yieldAccessKey();
    ui.cmdOptions->yieldAccessKey();
}

} // namespace

void buildMainControls(QWidget* client, MainControls& ui)
{
    buildBrowserPanel(client, ui);
    buildButtons(ui, client);
}

} // namespace kadrix
