#pragma once
// What every office call that loads a document needs: its arguments, and,
// whatever happens in between, the document closed and an office started
// only for the call ended. Internal to report/.
#include "office.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <memory>

namespace office {

// One named argument of a UNO call.
inline css::beans::PropertyValue Prop(const char* name, const css::uno::Any& value) {
    css::beans::PropertyValue p;
    p.Name = rtl::OUString::createFromAscii(name);
    p.Value = value;
    return p;
}

// Closes a loaded document when it goes out of scope.
class ClosingGuard {
public:
    explicit ClosingGuard(Reference<css::lang::XComponent> c) : c_(std::move(c)) {}
    ~ClosingGuard() {
        try {
            Reference<css::util::XCloseable> closeable(c_, css::uno::UNO_QUERY);
            if (closeable.is()) closeable->close(true);
            else if (c_.is()) c_->dispose();
        } catch (...) {
        }
    }
    ClosingGuard(const ClosingGuard&) = delete;
    ClosingGuard& operator=(const ClosingGuard&) = delete;

private:
    Reference<css::lang::XComponent> c_;
};

// Ends an office that was started only for this call; one already running
// (a preview, a warmed report office) is left as it was.
class ConnectionGuard {
public:
    explicit ConnectionGuard(std::shared_ptr<Connection> c) : c_(std::move(c)) {}
    ~ConnectionGuard() {
        try {
            if (c_->Started()) c_->Terminate();
            else c_->Release();
        } catch (...) {
        }
    }
    ConnectionGuard(const ConnectionGuard&) = delete;
    ConnectionGuard& operator=(const ConnectionGuard&) = delete;

private:
    std::shared_ptr<Connection> c_;
};

}  // namespace office
