#include "app/window_frame.h"

#include "support/window_placement.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <optional>

#if defined(_WIN32)
// Windows frames a window as soon as it exists, shown or not.
#include <QWindow>

#include <map>
#define QUARNEL_ASK_WINDOWS_FRAME 1
#elif defined(QUARNEL_HAVE_XCB) && QT_CONFIG(xcb)
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#define QUARNEL_ASK_X11_FRAME 1
#endif

namespace quarnel {
namespace {

// The margins last seen round a framed window of this program.
QMargins g_lastSeen;

// The margins of a window that is on screen and framed; none otherwise.
std::optional<QMargins> framedMargins(const QWidget* window) {
    if (!window->isVisible())
        return std::nullopt;
    const auto margins = placement::frameMarginsAround(window->frameGeometry(), window->geometry());
    if (margins)
        g_lastSeen = *margins;
    return margins;
}

#ifdef QUARNEL_ASK_WINDOWS_FRAME
// The frame Windows puts round `window`. As on X11, the window itself is not created for this
// (its native window would then exist before its placement); a stand-in with the same kind of
// frame is created, not shown, and asked: Qt's Windows plugin takes the margins of a native
// window from the window's style when it creates it, so they are known before it is shown.
std::optional<QMargins> askWindows(const QWidget* window) {
    const bool fixed = window->minimumSize() == window->maximumSize();
    using Key = std::pair<int, bool>;
    static std::map<Key, QMargins> answers;
    const Key key{int(window->windowFlags()), fixed};
    if (auto known = answers.find(key); known != answers.end())
        return known->second;

    QWidget standIn(nullptr, window->windowFlags());
    if (fixed)
        standIn.setFixedSize(window->size());
    else
        standIn.resize(window->size());
    standIn.winId();
    const QWindow* native = standIn.windowHandle();
    if (native == nullptr)
        return std::nullopt;
    const QMargins margins = native->frameMargins();
    if (margins.isNull())
        return std::nullopt;
    answers[key] = margins;
    return margins;
}
#endif

#ifdef QUARNEL_ASK_X11_FRAME
xcb_atom_t internAtom(xcb_connection_t* connection, const char* name) {
    const auto cookie = xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name);
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The frame extents (left, right, top, bottom) set on `window`, if any.
std::optional<QMargins> readFrameExtents(xcb_connection_t* connection, xcb_window_t window,
                                         xcb_atom_t extents) {
    const auto cookie = xcb_get_property(connection, 0, window, extents, XCB_ATOM_CARDINAL, 0, 4);
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection, cookie, nullptr), &std::free);
    if (!reply || reply->format != 32 || reply->value_len != 4)
        return std::nullopt;
    const auto* value = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return QMargins(int(value[0]), int(value[2]), int(value[1]), int(value[3]));
}

// Whether the window manager lists `atom` among the hints it supports.
bool managerSupports(xcb_connection_t* connection, xcb_window_t root, xcb_atom_t atom) {
    const xcb_atom_t supported = internAtom(connection, "_NET_SUPPORTED");
    const auto cookie = xcb_get_property(connection, 0, root, supported, XCB_ATOM_ATOM, 0, 4096);
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection, cookie, nullptr), &std::free);
    if (!reply || reply->format != 32)
        return false;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / int(sizeof(xcb_atom_t));
    return std::find(atoms, atoms + count, atom) != atoms + count;
}

// Asks the window manager which frame it would put round `window`, before the window is shown.
// The window itself is not created for this: a window that exists on the window system before it
// is first shown takes its position as its client's, not its frame's. A stand-in with the same
// kind of frame is asked instead. Waits at most a tenth of a second for the answer.
std::optional<QMargins> askWindowManager(const QWidget* window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr)
        return std::nullopt;
    xcb_connection_t* connection = x11->connection();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (screen == nullptr)
        return std::nullopt;
    const xcb_atom_t request = internAtom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    const xcb_atom_t extents = internAtom(connection, "_NET_FRAME_EXTENTS");
    // The window manager stays the same for the whole run: asked once.
    static const bool supported = request != XCB_ATOM_NONE && extents != XCB_ATOM_NONE &&
                                  managerSupports(connection, screen->root, request);
    if (!supported)
        return std::nullopt;

    // The frame depends on the kind of window and on whether it can be resized.
    const bool fixed = window->minimumSize() == window->maximumSize();
    using Key = std::pair<int, bool>;
    static std::map<Key, QMargins> answers;
    const Key key{int(window->windowFlags()), fixed};
    if (auto known = answers.find(key); known != answers.end())
        return known->second;

    QWidget standIn(nullptr, window->windowFlags());
    if (fixed)
        standIn.setFixedSize(window->size());
    else
        standIn.resize(window->size());
    const auto xWindow = xcb_window_t(standIn.winId());
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = xWindow;
    message.type = request;
    xcb_send_event(connection, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
    QElapsedTimer clock;
    clock.start();
    do {
        if (auto answer = readFrameExtents(connection, xWindow, extents)) {
            answers[key] = *answer;
            return answer;
        }
        QThread::msleep(2);
    } while (clock.elapsed() < 100);
    return std::nullopt;
}
#endif

// Watches a window's events for its frame and reports each new one.
class FrameWatcher : public QObject {
    Q_OBJECT
  public:
    FrameWatcher(QWidget* window, std::function<void(const QMargins&)> changed)
        : QObject(window), m_window(window), m_changed(std::move(changed)) {
        window->installEventFilter(this);
    }

    void setOnChange(std::function<void(const QMargins&)> changed) {
        m_changed = std::move(changed);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_window &&
            (event->type() == QEvent::Move || event->type() == QEvent::Resize ||
             event->type() == QEvent::Show || event->type() == QEvent::WindowStateChange)) {
            const auto margins = framedMargins(m_window);
            if (margins && margins != m_reported && m_changed) {
                m_reported = margins;
                // A copy: the handler may replace itself.
                const auto changed = m_changed;
                changed(*margins);
            }
        }
        return false;
    }

  private:
    QWidget* m_window;
    std::function<void(const QMargins&)> m_changed;
    std::optional<QMargins> m_reported;
};

constexpr int kGiveUpMs = 3000;

// Whether the window manager puts a frame round this kind of window at all.
bool getsFrame(const QWidget* window) {
    const Qt::WindowType type = window->windowType();
    return !window->windowFlags().testFlag(Qt::FramelessWindowHint) && type != Qt::ToolTip &&
           type != Qt::Popup && type != Qt::SplashScreen;
}

}  // namespace

QMargins frameMargins(const QWidget* window) {
    if (!getsFrame(window))
        return {};
    if (auto framed = framedMargins(window))
        return *framed;
#if defined(QUARNEL_ASK_X11_FRAME)
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (auto answer = askWindowManager(window))
            return *answer;
    }
#elif defined(QUARNEL_ASK_WINDOWS_FRAME)
    if (QGuiApplication::platformName() == QLatin1String("windows")) {
        if (auto answer = askWindows(window))
            return *answer;
    }
#endif
    return g_lastSeen;
}

void placeAgainWhenFramed(QWidget* window, const QMargins& assumed, const QPoint& placedAt,
                          std::function<void()> place) {
    static const QString kName = QStringLiteral("quarnelPlaceAgain");
    // An earlier placement's watcher is silenced at once and goes later: this may run from
    // inside its own handler.
    for (auto* old : window->findChildren<FrameWatcher*>(kName, Qt::FindDirectChildrenOnly)) {
        old->setObjectName(QString());
        old->setOnChange({});
        old->deleteLater();
    }
    if (!getsFrame(window) || framedMargins(window))
        return;  // no frame to wait for, or already framed: the placement used the real one
    auto* watcher = new FrameWatcher(window, {});
    watcher->setObjectName(kName);
    watcher->setOnChange(
        [window, watcher, assumed, placedAt, place = std::move(place)](const QMargins& real) {
            // Once only, whatever the outcome; the watcher goes when the event is done.
            watcher->setOnChange({});
            watcher->deleteLater();
            if (real != assumed && window->frameGeometry().topLeft() == placedAt)
                place();
        });
    QTimer::singleShot(kGiveUpMs, watcher, &QObject::deleteLater);
}

void watchFrame(QWidget* window, std::function<void(const QMargins&)> changed) {
    new FrameWatcher(window, std::move(changed));
}

}  // namespace quarnel

#include "window_frame.moc"
