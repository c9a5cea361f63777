#pragma once
// The UNO bridge to this program instance's office. Internal to report/:
// only the library's own sources see UNO types.
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <com/sun/star/lang/XComponent.hpp>

#include <QString>
#include <memory>

namespace office {

namespace css = com::sun::star;
using css::uno::Reference;

// Turns a UNO string into a QString and back (both UTF-16).
QString Q(const rtl::OUString& s);
rtl::OUString U(const QString& s);
rtl::OUString FileUrl(const QString& path);

class Connection {
public:
    // Attaches to our office, starting it when it does not run, and waits,
    // bounded, until it answers. Throws EWordError.
    static std::shared_ptr<Connection> Open();
    // Only an office already listening; nullptr when there is none.
    static std::shared_ptr<Connection> Attach();
    // Starts our office unless it runs and returns at once; Open connects
    // to it later, waiting for it when it is still coming up.
    static void StartInBackground();
    // True while our office's processes live.
    static bool Running();
    // Ends our office's processes at once, answering or not.
    static void Kill();
    ~Connection();

    Reference<css::uno::XComponentContext> Context() const { return context_; }
    Reference<css::frame::XDesktop2> Desktop() const { return desktop_; }
    // True when this connection started the office rather than finding it up.
    bool Started() const { return started_; }

    // Ends the office and waits, bounded, until its process is gone.
    void Terminate();
    // Lets go of the office without ending it.
    void Release();

private:
    Connection() = default;
    static void Launch();
    bool TryConnect();
    void Drop();

    Reference<css::lang::XComponent> bridge_;
    Reference<css::uno::XComponentContext> context_;
    Reference<css::frame::XDesktop2> desktop_;
    bool started_ = false;
};

// True when an office window can be shown (an X or Wayland display).
bool DisplayAvailable();

}  // namespace office
