#include "skin_x11_move.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <xcb/xcb.h>

namespace {

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::uint16_t(qstrlen(name)), name), nullptr);
    const xcb_atom_t atom = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(r);
    return atom;
}

// The window manager lists _NET_WM_MOVERESIZE among what it supports.
bool Supported(xcb_connection_t* c, xcb_window_t root, xcb_atom_t moveResize) {
    const xcb_atom_t supported = Atom(c, "_NET_SUPPORTED");
    if (supported == XCB_ATOM_NONE || moveResize == XCB_ATOM_NONE) return false;
    xcb_get_property_reply_t* r =
        xcb_get_property_reply(c, xcb_get_property(c, 0, root, supported, XCB_ATOM_ATOM, 0, 4096), nullptr);
    if (!r) return false;
    bool found = false;
    if (r->type == XCB_ATOM_ATOM && r->format == 32) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(r));
        const int n = xcb_get_property_value_length(r) / 4;
        for (int k = 0; k < n && !found; ++k) found = atoms[k] == moveResize;
    }
    std::free(r);
    return found;
}

}  // namespace

bool StartX11Move(QWidget* window, QPoint grip) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !window || !window->isWindow() || !window->windowHandle()) return false;
    xcb_connection_t* c = x11->connection();
    const xcb_setup_t* setup = c ? xcb_get_setup(c) : nullptr;
    if (!setup) return false;
    const xcb_window_t root = xcb_setup_roots_iterator(setup).data->root;
    const xcb_atom_t moveResize = Atom(c, "_NET_WM_MOVERESIZE");
    if (!Supported(c, root, moveResize)) return false;

    // X counts device pixels; a screen's top-left is the same in both.
    const QScreen* screen = window->screen();
    const QPoint origin = screen ? screen->geometry().topLeft() : QPoint();
    const qreal ratio = window->devicePixelRatioF();
    const QPoint at = origin + QPoint(qRound((grip.x() - origin.x()) * ratio), qRound((grip.y() - origin.y()) * ratio));

    xcb_client_message_event_t ev{};
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = xcb_window_t(window->winId());
    ev.type = moveResize;
    ev.data.data32[0] = std::uint32_t(at.x());
    ev.data.data32[1] = std::uint32_t(at.y());
    ev.data.data32[2] = 8;  // move
    ev.data.data32[3] = XCB_BUTTON_INDEX_1;
    ev.data.data32[4] = 1;  // asked for by the program itself
    // The pointer is ours while the button is down: the window manager must be able to take it.
    xcb_ungrab_pointer(c, XCB_CURRENT_TIME);
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&ev));
    xcb_flush(c);
    return true;
}
