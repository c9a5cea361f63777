#pragma once
// The office process and the UNO bridge to it. Internal to report/: only the
// library's own sources see UNO types.
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <com/sun/star/lang/XComponent.hpp>

#include <QString>
#include <memory>
#include <sys/types.h>

namespace office {

namespace css = com::sun::star;
using css::uno::Reference;

// Turns a UNO string into a QString and back (both UTF-16).
QString Q(const rtl::OUString& s);
rtl::OUString U(const QString& s);
rtl::OUString FileUrl(const QString& path);

class Connection {
public:
    // Attaches to an office listening on the pipe, or starts one (headless when
    // !visible) and waits, bounded, until it answers. Throws EWordError.
    static std::shared_ptr<Connection> Open(bool visible);
    // Only an office already listening; nullptr when there is none.
    static std::shared_ptr<Connection> Attach();
    ~Connection();

    Reference<css::uno::XComponentContext> Context() const { return context_; }
    Reference<css::frame::XDesktop2> Desktop() const { return desktop_; }
    bool Alive() const;
    bool Headless() const { return headless_; }
    pid_t StartedPid() const { return pid_; }

    // Ends the office; waits (bounded) for a process we started and kills it if
    // it lingers.
    void Terminate();
    // Lets go of the office without ending it.
    void Release();

private:
    Connection() = default;
    bool TryConnect();
    void WaitForExit(int timeoutMs);

    Reference<css::lang::XComponent> bridge_;
    Reference<css::uno::XComponentContext> context_;
    Reference<css::frame::XDesktop2> desktop_;
    pid_t pid_ = 0;          // the office process we started, if any
    bool headless_ = false;
};

}  // namespace office
