#include "dgoptions/frmDGOptions.h"

#include "classic/AccessibleWindows.h"
#include "classic/Artwork.h"
#include "classic/Fonts.h"
#include "classic/ThreeStateCheckBox.h"
#include "core/AppState.h"
#include "dgoptions/DgFileNames.h"
#include "dgoptions/OptionsMessages.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace kadrix {

namespace {

// The hourglass while the file is copied, whatever way the copy ends.
class BusyPointer {
public:
    BusyPointer() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QGuiApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

template <size_t N>
void enableAll(const std::array<QRadioButton*, N>& buttons, bool enabled)
{
    for (QRadioButton* button : buttons)
        button->setEnabled(enabled);
}

void report(Messages& messages, const RewriteOutcome& outcome, const DgFileNames& names)
{
    using Result = RewriteOutcome::Result;
    switch (outcome.result) {
    case Result::Saved:
        messages.showMessage(savedMessage(names));
        break;
    case Result::TrialMissing:
        break;
    case Result::Failed:
        messages.showMessage(saveErrorMessage(outcome.error, {}));
        break;
    case Result::ChangesKept:
        messages.showMessage(saveErrorMessage(outcome.error, names.temporaryName));
        break;
    case Result::Unflushed:
        messages.showMessage(saveErrorMessage(outcome.error, names.trialFileName));
        break;
    case Result::Replaced:
    case Result::ReplacedNotRestored:
        messages.showMessage(replacedMessage(names, outcome.result == Result::Replaced));
        break;
    }
}

} // namespace

frmDGOptions::frmDGOptions(AppState& state, Messages& messages)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , state_(state)
    , messages_(messages)
{
    setObjectName(QStringLiteral("frmDGOptions"));
    exposeAsWindow(*this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Refining options"));
    setWindowIcon(programIcon());
    setFont(sansSerifFont(8.25));
    buildDGOptionsControls(this, ui_);
    connectControls();
    placeOnScreen();
    Form_Load();
}

// In the middle of the screen, where a dialog without owner is looked for.
void frmDGOptions::placeOnScreen()
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    move(screen.center() - QPoint(width() / 2, height() / 2));
}

void frmDGOptions::connectControls()
{
    connect(ui_.chkHideMissing, &QCheckBox::stateChanged, this,
            &frmDGOptions::chkHideMissing_Click);
    connect(ui_.chkReverseX, &QCheckBox::stateChanged, this, &frmDGOptions::chkReverseX_Click);
    connect(ui_.cmdExit, &QPushButton::clicked, this, &frmDGOptions::cmdExit_Click);
    connect(ui_.cmdCancel, &QPushButton::clicked, this, &frmDGOptions::cmdCancel_Click);
}

void frmDGOptions::Form_Load()
{
    refSystem_ = 0;
    isDGTrial_ = state_.TrialExt == QLatin1String("DG");
    enableForTrial(state_.TrialExt);
}

// Which choices the trial's kind offers. Disabled controls keep their
// values, and those still count when OK builds the switches.
void frmDGOptions::enableForTrial(const QString& extension)
{
    ui_.fraRef->setEnabled(isDGTrial_);
    if (isDGTrial_)
        ui_.chkReverseX->setEnabled(true);
    ui_.chkFilteredData->setEnabled(false);
    enableAll(ui_.optView, false);
    const bool is3D = extension == QLatin1String("3D");
    ui_.fraFiltered->setVisible(is3D);
    if (is3D) {
        ui_.chkFilteredData->setEnabled(true);
        enableAll(ui_.optView, true);
    }
    if (extension == QLatin1String("CDA"))
        enableAll(ui_.optView, true);
    if (extension == QLatin1String("KM"))
        ui_.chkFilteredData->setValue(ThreeStateCheckBox::kGrayed);
}

void frmDGOptions::chkHideMissing_Click()
{
    Q_EMIT hideMissingClicked(ui_.chkHideMissing->Value() != 0);
}

void frmDGOptions::chkReverseX_Click()
{
    ui_.chkReverseX->setToolTip(ui_.chkReverseX->Value() == 0
                                    ? QStringLiteral("Click to leave X coordinates unreversed.")
                                    : QStringLiteral("Click to reverse X coordinates."));
}

void frmDGOptions::cmdCancel_Click()
{
    state_.OptionSwitches.clear();
    close();
}

void frmDGOptions::cmdExit_Click()
{
    state_.OptionSwitches = buildOptionSwitches(choices());
    if (isDGTrial_) {
        refSystem_ = selectedRefSystem();
        const MessageAnswer answer = messages_.showMessage(saveQuestion());
        if (answer == MessageAnswer::Cancel)
            return;
        if (answer == MessageAnswer::Yes)
            EditDGfile();
        state_.OptionSwitches += referenceSystemSwitch(refSystem_);
        showRefiningWarning();
    }
    close();
}

void frmDGOptions::showRefiningWarning()
{
    const MessageBox warning = refiningWarning(refSystem_, ui_.chkReverseX->Value());
    if (!warning.text.isEmpty())
        messages_.showMessage(warning);
}

OptionChoices frmDGOptions::choices() const
{
    OptionChoices choices;
    choices.readOnly = ui_.chkReadOnly->Value();
    choices.hideMissing = ui_.chkHideMissing->Value();
    choices.filteredData = ui_.chkFilteredData->Value();
    for (size_t i = 0; i < ui_.optView.size(); ++i)
        choices.views[i] = ui_.optView[i]->isChecked();
    choices.filteredSelected = ui_.optFiltered->isChecked();
    choices.reverseX = ui_.chkReverseX->Value();
    return choices;
}

int frmDGOptions::selectedRefSystem() const
{
    for (size_t code = 0; code < ui_.optRef.size(); ++code) {
        if (ui_.optRef[code]->isChecked())
            return static_cast<int>(code);
    }
    return 0;
}

void frmDGOptions::EditDGfile()
{
    if (state_.TrialName.isEmpty())
        return; // no trial: there is no file to rewrite
    const DgFileNames names = dgFileNames(state_.DataDir, state_.TrialName, state_.TrialPath);
    if (names.refused) {
        messages_.showMessage(saveErrorMessage(names.refused, {}));
        return;
    }
    RewriteOutcome outcome;
    {
        const BusyPointer busy;
        outcome = rewriteDgFile(names.paths, {ui_.chkReverseX->Value(), refSystem_});
    }
    report(messages_, outcome, names);
}

} // namespace kadrix
