#include "skin_tray.h"

#include <QCursor>
#include <QSystemTrayIcon>

namespace {
constexpr int kMaxTip = 63;
}

TSkTrayIcon::TSkTrayIcon(std::function<void()> restore, std::function<void(QPoint)> menu)
    : restore_(std::move(restore)), menu_(std::move(menu)) {}

TSkTrayIcon::~TSkTrayIcon() = default;

bool TSkTrayIcon::Available() { return QSystemTrayIcon::isSystemTrayAvailable(); }

QString TSkTrayIcon::CutTip(const QString& tip) {
    if (tip.size() <= kMaxTip) return tip;
    int n = kMaxTip;
    if (tip.at(n - 1).isHighSurrogate()) --n;
    return tip.left(n);
}

void TSkTrayIcon::Show(const QIcon& icon, const QString& tip) {
    if (!icon_) {
        icon_ = std::make_unique<QSystemTrayIcon>();
        QObject::connect(icon_.get(), &QSystemTrayIcon::activated, [this](QSystemTrayIcon::ActivationReason why) {
            if (why == QSystemTrayIcon::Context) {
                if (menu_) menu_(QCursor::pos());
            } else if (why == QSystemTrayIcon::Trigger || why == QSystemTrayIcon::DoubleClick) {
                if (restore_) restore_();
            }
        });
    }
    icon_->setIcon(icon);
    icon_->setToolTip(CutTip(tip));
    icon_->show();
}

void TSkTrayIcon::Hide() {
    if (icon_) icon_->hide();
}

bool TSkTrayIcon::Visible() const { return icon_ && icon_->isVisible(); }

QString TSkTrayIcon::Tip() const { return icon_ ? icon_->toolTip() : QString(); }
