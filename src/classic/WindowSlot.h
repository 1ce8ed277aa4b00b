#pragma once

#include <QPointer>

#include <functional>

class QWidget;

namespace kadrix {

// A secondary window that is loaded on first use, may unload itself (it is
// deleted when closed), and is loaded afresh the next time it is wanted. The
// slot owns whatever window is still loaded and deletes it with itself.
template <typename Window>
class WindowSlot {
public:
    explicit WindowSlot(std::function<Window*()> load)
        : load_(std::move(load))
    {}
    ~WindowSlot() { unload(); }
    WindowSlot(const WindowSlot&) = delete;
    WindowSlot& operator=(const WindowSlot&) = delete;

    Window* loaded() const { return window_.data(); }

    Window& load()
    {
        if (!window_)
            window_ = load_();
        return *window_;
    }

    void unload() { delete window_.data(); }

private:
    std::function<Window*()> load_;
    QPointer<Window> window_;
};

// Shows a window without owner and not modal, and makes it the active one.
void showAndActivate(QWidget& window);

} // namespace kadrix
