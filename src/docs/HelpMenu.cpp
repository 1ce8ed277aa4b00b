#include "docs/HelpMenu.h"

#include "core/AppState.h"
#include "core/FileTest.h"
#include "core/HandlerContext.h"
#include "core/InstallLayout.h"
#include "core/StartRequests.h"
#include "docs/ReaderPlugin.h"
#include "docs/ReaderPluginLoader.h"
#include "docs/frmViewer.h"
#include "platform/Host.h"
#include "platform/PathLookup.h"
#include "platform/Starter.h"

#include <QAction>

#include <array>

namespace kadrix {

namespace {

// The help file of each "&Help" item: the name tested when the menu opens,
// and the name shown when the item is chosen. Both name the same file.
struct HelpFile {
    const char* tested;
    const char* shown;
};

constexpr std::array<HelpFile, 9> kHelpFiles{{
    {"overview.txt", "Overview.txt"},
    {"tavromu.txt", "Tavromu.txt"},
    {"scalvane.txt", "Scalvane.txt"},
    {"dg_file.txt", "DG_file.txt"},
    {"fplate.txt", "FPlate.txt"},
    {"kadrix.txt", "Kadrix.txt"},
    {"kinemati.txt", "Kinemati.txt"},
    {"readmekx.txt", "ReadmeKX.txt"},
    {"updatekx.txt", "UpdateKX.txt"},
}};

const QString kUsersManual = QStringLiteral("kadrix.pdf");
// Whether this build has the PDF reader: Qt PDF is not built everywhere.
constexpr bool kReaderBuilt = KADRIX_READER_BUILT;
const QString kFileFormat = QStringLiteral("dg_file.txt");

} // namespace

HelpMenu::HelpMenu(HandlerContext& context, HelpMenuItems& items, QObject* parent)
    : QObject(parent)
    , context_(context)
    , items_(items)
    , viewer_([this] { return new frmViewer(context_.state, context_.host); })
    , reader_([this] {
        return readerPlugin(context_.host.messages)
            ->createReader(context_.state, context_.host.messages, CurrentDocument_);
    })
{}

HelpMenu::~HelpMenu() = default;

frmViewer* HelpMenu::viewer() const
{
    return viewer_.loaded();
}

ReaderWindow* HelpMenu::reader() const
{
    return reader_.loaded();
}

void HelpMenu::mnuHelp_Click()
{
    for (size_t i = 0; i < kHelpFiles.size(); ++i) {
        const QString name = QString::fromLatin1(kHelpFiles.at(i).tested);
        const QString directory = helpTextDirectory(context_.state.ProgDir, name);
        const int result = TestFile(context_.host.messages, directory, name, 0);
        items_.mnuHelpItem.at(i)->setEnabled(result == 0);
    }
}

void HelpMenu::mnuHelpItem_Click(int Index)
{
    if (Index < 0 || Index >= static_cast<int>(kHelpFiles.size()))
        return;
    const QString name = QString::fromLatin1(kHelpFiles.at(Index).shown);
    const QString directory = helpTextDirectory(context_.state.ProgDir, name);
    if (TestFile(context_.host.messages, directory, name, 1) != 0)
        return;
    context_.state.ViewerFile = joinPath(directory, name);
    showViewer();
}

void HelpMenu::mnuManual_Click(int Index)
{
    AppState& state = context_.state;
    switch (Index) {
    case 0:
        // Not tested here: the text editor reports a missing file itself.
        state.TaskId = context_.host.starter.start(requests::notepadOn(
            state, joinPath(helpTextDirectory(state.ProgDir, kFileFormat), kFileFormat)));
        break;
    case 1:
        state.ManualFile = kUsersManual;
        showReader();
        break;
    case 2:
        state.ManualFile.clear();
        showReader();
        break;
    default:
        break;
    }
}

void HelpMenu::cmdManuals_Click()
{
    context_.state.ManualFile = kUsersManual;
    showReader();
}

void HelpMenu::showViewer()
{
    viewer_.load().showAndActivate();
}

void HelpMenu::showReader()
{
    if (!kReaderBuilt)
        return openManualWithHost();
    // Without the reader plugin the user has been told why; nothing opens.
    if (!reader_.loaded() && !readerPlugin(context_.host.messages))
        return;
    reader_.load().showAndActivate();
}

// A build without the reader leaves a manual to the host's own PDF viewer,
// and the list of manuals to its file manager.
void HelpMenu::openManualWithHost()
{
    AppState& state = context_.state;
    const QString manual = state.ManualFile.isEmpty()
                               ? state.ManualsDir
                               : resolvePathCase(state.ManualsDir + state.ManualFile);
    state.TaskId = context_.host.starter.start(requests::openWithHost(manual));
}

void HelpMenu::unloadWindows()
{
    viewer_.unload();
    reader_.unload();
}

} // namespace kadrix
