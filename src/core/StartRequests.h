#pragma once

#include "platform/StartRequest.h"

namespace kadrix {

struct AppState;

// The companion program `name` ("Xfer2DG") in the program directory:
// ProgDir + name + ".exe".
QString companionPath(const AppState& state, const QString& name);

// Names the companion program `name` as the program being started
// (ProgName) and sets its full path (ProgPath).
void chooseCompanion(AppState& state, const QString& name);

// The program starts of the front-end, one builder for each way it starts a
// companion program or a system tool. Each gives the request as the
// Starter carries it out and its command text in the program's own form.
//
// Texts marked "upper case" below are upper-cased in the command text, as
// the classic program did. The program and the working directory that the
// started program receives are the names as they are on the disk, found
// regardless of letter case; the file argument is the file the user chose
// (see trialFileOnDisk).
namespace requests {

// The animation program through the shell, on TrialName + "." + TrialExt:
// `switches` (such as "/q /1 /r "), then OptionSwitches, then the file, all
// upper case; in DataDir (upper case); show code 5.
StartRequest animateTrial(const AppState& state, const QString& switches);

// The animation program through the shell on an Ariel Dynamics file:
// "/A " + TrialName + `extension` (".3d", ".1t" ... ".9t"), all upper case.
StartRequest animateArielFile(const AppState& state, const QString& extension);

// RunProgram's start: `path` and `file` upper case, in DataDir as it is.
StartRequest runProgram(const AppState& state, const QString& path, const QString& file);

// A companion program as one command, `program` + " " + `file`, in the
// current directory (DataDir); show code 5.
StartRequest companionCommand(const AppState& state, const QString& program, const QString& file);

// The animation program on the trial's .cda file: ProgPath + " /A " + file.
StartRequest animateCdaFile(const AppState& state, const QString& program, const QString& file);

// The animation program's own command-line help: ProgDir + "/Kadrix /?".
StartRequest commandLineHelp(const AppState& state);

// Notepad as one command on a file, "notepad.exe " + `path`; show code 1.
StartRequest notepadOn(const AppState& state, const QString& path);

// Notepad through the shell in DataDir, on `file` or on nothing; show code 1.
StartRequest notepadInDataDir(const AppState& state, const QString& file);

// "calc.exe", "command.com" or "explorer.exe" as one command; show code 1.
StartRequest systemTool(const AppState& state, const QString& program);

// A program the user picked, with no arguments; show code 5.
StartRequest pickedProgram(const AppState& state, const QString& path);

// A document or a directory opened by the program the host opens it with
// (a shell start of the document itself), in the directory it lies in.
StartRequest openWithHost(const QString& path);

} // namespace requests

} // namespace kadrix
