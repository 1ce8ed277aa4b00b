#pragma once

namespace kadrix {

class Messages;
class SettingsStore;
class Starter;

// The host system as the program sees it: message boxes and standard
// dialogs, program starts and the settings store. The real ones are Qt's;
// the tests pass fakes.
struct Host {
    Messages& messages;
    Starter& starter;
    SettingsStore& settings;
};

} // namespace kadrix
