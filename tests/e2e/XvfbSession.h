#pragma once

#include <QProcess>
#include <QString>

namespace kadrix::test {

// A private X display for end-to-end tests that need a real window system:
// an Xvfb server of the test's own on a free display number, stopped when
// the session goes. The user's display is never used.
class XvfbSession {
public:
    XvfbSession();
    ~XvfbSession();
    XvfbSession(const XvfbSession&) = delete;
    XvfbSession& operator=(const XvfbSession&) = delete;

    static bool toolsAvailable();

    bool isRunning() const { return !display_.isEmpty(); }
    const QString& display() const { return display_; }

    // Runs xdotool on this display; returns its standard output.
    QString xdotool(const QStringList& arguments) const;
    // The first visible window whose name matches `pattern`, waiting for one
    // when `wait`; empty when there is none.
    QString window(const QString& pattern, bool wait = true) const;
    // Focuses `window` and types `keys` there.
    void press(const QString& window, const QString& keys) const;

private:
    QProcess server_;
    QString display_;
};

} // namespace kadrix::test
