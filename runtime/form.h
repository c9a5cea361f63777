#pragma once
// A top-level window loaded from its description in the component text form.
#include "control.h"

#include <QHash>
#include <QWidget>
#include <any>

class TForm : public QWidget, public TControl {
    Q_OBJECT
public:
    explicit TForm(QWidget* parent = nullptr);
    ~TForm() override;

    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    // Handlers the description binds by name (OnClick = btnAnalyseClick).
    template <class H>
    void RegisterHandler(const QString& name, H handler) { handlers_.insert(name.toLower(), std::any(std::move(handler))); }
    const std::any* FindHandler(const QString& name) const;

    // Reads the description (a Qt resource path or a file), builds every
    // component in it, binds the events, then raises OnCreate.
    void LoadDescription(const QString& path);
    void LoadDescriptionText(const QByteArray& text, const QString& sourceName);

    void SetCaption(const QString& c) override;
    // The client area: the window less the margins of a frame the program
    // draws itself (the contents margins).
    int ClientWidth() const { return contentsRect().width(); }
    int ClientHeight() const { return contentsRect().height(); }
    void SetClientWidth(int w) { resize(w + width() - ClientWidth(), height()); }
    void SetClientHeight(int h) { resize(width(), h + height() - ClientHeight()); }

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;

    // Shows the window modally and returns when it is closed.
    void ShowModal();

    // Every component the form owns, at any depth, by name.
    TComponent* FindDeep(const QString& name) const;

protected:
    void showEvent(QShowEvent* e) override;

private:
    QHash<QString, std::any> handlers_;
};
