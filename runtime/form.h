#pragma once
// A top-level window loaded from its description in the component text form.
#include "control.h"

#include <QHash>
#include <QWidget>
#include <any>
#include <memory>

struct FormLaterParts;

class TForm : public QWidget, public TControl {
    Q_OBJECT
public:
    explicit TForm(QWidget* parent = nullptr);
    ~TForm() override;

    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    // Handlers the description binds by name (OnClick = btnAnalyseClick).
    // None of them runs on a window still being built: each completes the
    // loading first.
    template <class H>
    void RegisterHandler(const QString& name, H handler) {
        handlers_.insert(name.toLower(), std::any(H([this, handler = std::move(handler)](auto&&... args) {
                             CompleteLoading();
                             handler(std::forward<decltype(args)>(args)...);
                         })));
    }
    const std::any* FindHandler(const QString& name) const;

    // Reads the description (a Qt resource path or a file), builds every
    // component in it, binds the events, then raises OnCreate. The children
    // of containers the form builds later (BuildsChildrenLater) wait for
    // CompleteLoading.
    void LoadDescription(const QString& path);
    // Reads and parses a description before its window is made, while the
    // program waits on something else, and lets each component class that
    // registered a preparer work on its values. The next LoadDescription of
    // the same path takes the parsed description. Never fails: a description
    // that cannot be read fails when the window reads it.
    static void PrepareDescription(const QString& path);
    void LoadDescriptionText(const QByteArray& text, const QString& sourceName);
    // Builds what waited, resolves what refers to it, and calls Completed.
    // Nothing is left to do after the first call.
    void CompleteLoading();
    bool LoadingComplete() const;

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
    // Whether the children of a container just read may wait until the
    // window is up; the container itself and its properties are built now.
    virtual bool BuildsChildrenLater(const TComponent&) const { return false; }
    // Every component of the description now exists.
    virtual void Completed() {}

private:
    void LoadDescriptionData(ComponentData root, const QString& sourceName);
    QHash<QString, std::any> handlers_;
    std::unique_ptr<FormLaterParts> later_;
    bool loading_ = false;
};
