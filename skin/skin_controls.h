#pragma once
// The skinned controls of the main window. Their behaviour lives here; the
// skin changes only how they are drawn.
#include "control.h"
#include "string_grid.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QWidget>

class TSkSkinEngine;
class TImageList;

// What every skinned control names: the engine and the skin object it draws from.
class TSkSkinnable {
public:
    TSkSkinEngine* SkinEngine() const { return skinEngine_; }
    void SetSkinEngine(TSkSkinEngine* e) { skinEngine_ = e; }
    const QString& SkinObject() const { return skinObject_; }
    void SetSkinObject(const QString& s) { skinObject_ = s; }
    template <class T>
    static void AddSkinProperties(PropertyTable& t);
private:
    TSkSkinEngine* skinEngine_ = nullptr;
    QString skinObject_;
};

class TSkSkinEdit : public QLineEdit, public TControl, public TSkSkinnable {
    Q_OBJECT
public:
    TSkSkinEdit(TComponent* owner, QWidget* parent);
    QString ClassName() const override { return QStringLiteral("TSkSkinEdit"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
    QString Text() const { return text(); }
    void SetText(const QString& t) { setText(t); }
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnChange;
protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void ColorChanged() override;
};

class TSkSkinButton : public QPushButton, public TControl, public TSkSkinnable {
    Q_OBJECT
public:
    TSkSkinButton(TComponent* owner, QWidget* parent);
    QString ClassName() const override { return QStringLiteral("TSkSkinButton"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
    QString Caption() const override { return text(); }
    void SetCaption(const QString& c) override { setText(c); }
    TNotifyEvent OnClick;
};

class TSkSkinRadioButton : public QRadioButton, public TControl, public TSkSkinnable {
    Q_OBJECT
public:
    TSkSkinRadioButton(TComponent* owner, QWidget* parent);
    QString ClassName() const override { return QStringLiteral("TSkSkinRadioButton"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
    QString Caption() const override { return text(); }
    void SetCaption(const QString& c) override { setText(c); }
    bool Checked() const { return isChecked(); }
    void SetChecked(bool v) { setChecked(v); }
    TNotifyEvent OnClick;
};

class TSkSkinLabel : public QLabel, public TControl, public TSkSkinnable {
    Q_OBJECT
public:
    TSkSkinLabel(TComponent* owner, QWidget* parent);
    QString ClassName() const override { return QStringLiteral("TSkSkinLabel"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
    QString Caption() const override { return text(); }
    void SetCaption(const QString& c) override { setText(QString(c).replace('\r', '\n')); }
protected:
    void FontChanged() override;
};

class TSkSkinPanel : public QFrame, public TControl, public TSkSkinnable {
    Q_OBJECT
public:
    TSkSkinPanel(TComponent* owner, QWidget* parent);
    QString ClassName() const override { return QStringLiteral("TSkSkinPanel"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
    bool ShowCaption() const { return showCaption_; }
    void SetShowCaption(bool v) {
        if (showCaption_ == v) return;
        showCaption_ = v;
        update();
    }
    bool ShowButton() const { return showButton_; }
    void SetShowButton(bool v) {
        if (showButton_ == v) return;
        showButton_ = v;
        update();
    }
protected:
    void paintEvent(QPaintEvent* e) override;
private:
    bool showCaption_ = true;
    bool showButton_ = true;
};

class TSkSkinPageControl;

class TSkCustomTabSheet : public QWidget, public TControl {
    Q_OBJECT
public:
    TSkCustomTabSheet(TComponent* owner, QWidget* parent);
    QString ClassName() const override { return QStringLiteral("TSkCustomTabSheet"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
    TSkSkinPageControl* PageControl() const { return pageControl_; }
    void SetPageControl(TSkSkinPageControl* p) { pageControl_ = p; }
    int PageIndex() const;
protected:
    void CaptionChanged() override;
private:
    TSkSkinPageControl* pageControl_ = nullptr;
};

class TSkSkinPageControl : public QTabWidget, public TControl, public TSkSkinnable {
    Q_OBJECT
public:
    TSkSkinPageControl(TComponent* owner, QWidget* parent);
    QString ClassName() const override { return QStringLiteral("TSkSkinPageControl"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
    void AdoptChild(TComponent* child) override;
    TSkCustomTabSheet* ActivePage() const;
    void SetActivePage(TSkCustomTabSheet* sheet);
    int ActivePageIndex() const { return currentIndex(); }
    void SetActivePageIndex(int i) { setCurrentIndex(i); }
    int PageCount() const { return count(); }
    TSkCustomTabSheet* Pages(int i) const;
    void UpdateTabText(TSkCustomTabSheet* sheet);
    TNotifyEvent OnChange;
};

class TSkSkinStringGrid : public TStringGrid, public TSkSkinnable {
    Q_OBJECT
public:
    TSkSkinStringGrid(TComponent* owner, QWidget* parent);
    QString ClassName() const override { return QStringLiteral("TSkSkinStringGrid"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
};

void RegisterSkinControls();
