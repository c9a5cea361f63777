#pragma once
// The notification-area icon of a window that went to the tray.
#include <QIcon>
#include <QPoint>
#include <QString>
#include <functional>
#include <memory>

class QSystemTrayIcon;

class TSkTrayIcon {
public:
    // restore: the icon was clicked; menu: its menu was asked for at a
    // global position.
    TSkTrayIcon(std::function<void()> restore, std::function<void(QPoint)> menu);
    ~TSkTrayIcon();

    // Without a notification area a hidden window could not come back.
    static bool Available();
    // The platform keeps tips to 63 characters; a pair of surrogates is never split.
    static QString CutTip(const QString& tip);

    void Show(const QIcon& icon, const QString& tip);
    void Hide();
    bool Visible() const;
    QString Tip() const;

private:
    std::function<void()> restore_;
    std::function<void(QPoint)> menu_;
    std::unique_ptr<QSystemTrayIcon> icon_;
};
