#include "exceptions.h"
#include "form.h"
#include "component_stream.h"

#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

namespace {
class TProbe : public QWidget, public TControl {
public:
    TProbe(TComponent* owner, QWidget* parent) : QWidget(parent), TControl(owner, this) {}
    QString ClassName() const override { return QStringLiteral("TProbe"); }
    static const PropertyTable& StaticProperties() {
        static PropertyTable t = [] {
            PropertyTable table(&TControl::StaticProperties());
            PropertyBuilder<TProbe>(table)
                .Event<TNotifyEvent>("OnPoke", [](TProbe& p, const TNotifyEvent& h) { p.OnPoke = h; })
                .Reference<TProbe>("Buddy", [](TProbe& p, TProbe* b) { p.buddy = b; });
            return table;
        }();
        return t;
    }
    const PropertyTable& Properties() const override { return StaticProperties(); }
    TNotifyEvent OnPoke;
    TProbe* buddy = nullptr;
};

class TProbeForm : public TForm {
public:
    QString ClassName() const override { return QStringLiteral("TProbeForm"); }
};

struct FormLoading : ::testing::Test {
    static void SetUpTestSuite() { RegisterComponent<TProbe>(QStringLiteral("TProbe")); }
};
}

TEST_F(FormLoading, BuildsNestedControlsBindsHandlersAndResolvesReferences) {
    TProbeForm form;
    int pokes = 0, created = 0;
    form.RegisterHandler<TNotifyEvent>("Poked", [&](TComponent*) { ++pokes; });
    form.RegisterHandler<TNotifyEvent>("FormCreate", [&](TComponent*) { ++created; });
    form.LoadDescriptionText(R"(object ProbeForm: TProbeForm
  Caption = '成绩'
  ClientWidth = 200
  ClientHeight = 100
  OnCreate = FormCreate
  object Outer: TProbe
    Left = 5
    Top = 6
    Width = 50
    Height = 40
    Buddy = Inner
    object Inner: TProbe
      Left = 1
      Font.Height = -16
      Font.Style = [fsBold]
      OnPoke = Poked
    end
  end
end
)", "probe.form");
    EXPECT_EQ(created, 1);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("成绩"));
    EXPECT_EQ(form.width(), 200);
    auto* outer = form.Find<TProbe>("Outer");
    auto* inner = form.Find<TProbe>("inner");
    ASSERT_TRUE(outer && inner);
    EXPECT_EQ(inner->parentWidget(), outer);
    EXPECT_EQ(outer->geometry(), QRect(5, 6, 50, 40));
    EXPECT_EQ(outer->buddy, inner);
    EXPECT_EQ(inner->font().pixelSize(), 16);
    EXPECT_TRUE(inner->font().bold());
    inner->OnPoke(inner);
    EXPECT_EQ(pokes, 1);
}

TEST_F(FormLoading, ErrorsNameTheFileLineAndWhatIsWrong) {
    struct Case { const char* text; const char* expected; };
    const Case cases[] = {
        {"object F: TProbeForm\n  Bogus = 1\nend\n", "probe.form(2): property Bogus does not exist"},
        {"object F: TProbeForm\n  object P: TNoSuchClass\n  end\nend\n", "probe.form(2): class TNoSuchClass is not known"},
        {"object F: TProbeForm\n  object P: TProbe\n    OnPoke = Missing\n  end\nend\n", "probe.form(3): handler Missing"},
        {"object F: TProbeForm\n  object P: TProbe\n    Buddy = Nobody\n  end\nend\n", "probe.form(3): property Buddy names Nobody"},
        {"object F: TProbeForm\n  Left = 'text'\nend\n", "probe.form(2): Invalid property value"},
        {"object F: TOtherForm\nend\n", "probe.form(1): the description is of class TOtherForm"},
    };
    for (const Case& c : cases) {
        TProbeForm form;
        try {
            form.LoadDescriptionText(c.text, "probe.form");
            ADD_FAILURE() << "loaded: " << c.text;
        } catch (const Exception& e) {
            EXPECT_TRUE(e.Message().startsWith(QString::fromUtf8(c.expected))) << e.Message().toStdString();
        }
    }
}

TEST_F(FormLoading, AHandlerOfTheWrongSignatureIsRefused) {
    TProbeForm form;
    form.RegisterHandler<TKeyPressEvent>("Poked", [](TComponent*, QChar&) {});
    EXPECT_THROW(form.LoadDescriptionText("object F: TProbeForm\n  object P: TProbe\n    OnPoke = Poked\n  end\nend\n", "x"),
                 EReadError);
}

namespace {
// Builds the children of "Later" only when asked.
class TWaitingForm : public TForm {
public:
    QString ClassName() const override { return QStringLiteral("TWaitingForm"); }
    int completed = 0;
protected:
    bool BuildsChildrenLater(const TComponent& c) const override { return c.Name() == QLatin1String("Later"); }
    void Completed() override { ++completed; }
};

const char* const kWaiting = R"(object F: TWaitingForm
  OnCreate = FormCreate
  object Early: TProbe
    Buddy = Inside
    OnPoke = Poked
  end
  object Later: TProbe
    object Inside: TProbe
      Buddy = Early
    end
  end
end
)";
}

TEST_F(FormLoading, ChildrenBuiltLaterArriveWithTheirReferences) {
    TWaitingForm form;
    int created = 0;
    form.RegisterHandler<TNotifyEvent>("FormCreate", [&](TComponent*) { ++created; });
    form.RegisterHandler<TNotifyEvent>("Poked", [](TComponent*) {});
    form.LoadDescriptionText(kWaiting, "waiting.form");
    // OnCreate ran on the window as far as it was built.
    EXPECT_EQ(created, 1);
    EXPECT_EQ(form.completed, 0);
    EXPECT_FALSE(form.LoadingComplete());
    auto* early = form.Find<TProbe>("Early");
    ASSERT_TRUE(early && form.Find<TProbe>("Later"));
    EXPECT_FALSE(form.FindDeep("Inside"));
    EXPECT_EQ(early->buddy, nullptr);

    form.CompleteLoading();
    EXPECT_TRUE(form.LoadingComplete());
    EXPECT_EQ(form.completed, 1);
    auto* inside = form.Find<TProbe>("Inside");
    ASSERT_TRUE(inside);
    EXPECT_EQ(inside->parentWidget(), form.Find<TProbe>("Later"));
    EXPECT_EQ(early->buddy, inside);  // a reference read before its target existed
    EXPECT_EQ(inside->buddy, early);
    form.CompleteLoading();
    EXPECT_EQ(form.completed, 1);
}

TEST_F(FormLoading, AHandlerNeverRunsOnAWindowStillBeingBuilt) {
    TWaitingForm form;
    bool sawInside = false;
    form.RegisterHandler<TNotifyEvent>("FormCreate", [](TComponent*) {});
    form.RegisterHandler<TNotifyEvent>("Poked", [&](TComponent*) { sawInside = form.FindDeep("Inside") != nullptr; });
    form.LoadDescriptionText(kWaiting, "waiting.form");
    auto* early = form.Find<TProbe>("Early");
    early->OnPoke(early);
    EXPECT_TRUE(sawInside);
    EXPECT_EQ(form.completed, 1);
}

TEST_F(FormLoading, AFaultInALaterPartIsReportedOnEveryTry) {
    TWaitingForm form;
    form.RegisterHandler<TNotifyEvent>("FormCreate", [](TComponent*) {});
    form.RegisterHandler<TNotifyEvent>("Poked", [](TComponent*) {});
    QByteArray text(kWaiting);
    text.replace("Buddy = Early", "Buddy = Nobody");
    form.LoadDescriptionText(text, "waiting.form");
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            form.CompleteLoading();
            ADD_FAILURE() << "completed a broken description";
        } catch (const Exception& e) {
            EXPECT_TRUE(e.Message().startsWith(QStringLiteral("waiting.form(9): property Buddy names Nobody")))
                << e.Message().toStdString();
        }
    }
    EXPECT_FALSE(form.LoadingComplete());
    EXPECT_EQ(form.completed, 0);
}

// Start-up reads a description ahead of its window: the window must be built
// from what was read then, each class's preparer must see its components
// once, and a description that could not be read must fail where it did.
TEST_F(FormLoading, APreparedDescriptionIsWhatTheWindowIsBuiltFrom) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("prepared.form"));
    auto write = [&](const QByteArray& text) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    };
    QStringList prepared;
    ComponentRegistry::RegisterPreparer(QStringLiteral("TProbe"), [&](const ComponentData& d) {
        prepared << d.name;
        if (d.name == QLatin1String("Second")) throw EReadError(QStringLiteral("a preparer that fails stops nothing"));
    });
    write("object F: TProbeForm\n  object First: TProbe\n    object Second: TProbe\n    end\n  end\n"
          "  object Third: TProbe\n  end\nend\n");
    TForm::PrepareDescription(path);
    EXPECT_EQ(prepared, (QStringList{"First", "Second", "Third"}));
    write("object F: TProbeForm\nend\n");  // the file changed since: what was read counts
    {
        TProbeForm form;
        form.LoadDescription(path);
        EXPECT_TRUE(form.Find<TProbe>("Second"));
    }
    {
        TProbeForm again;  // taken once: the next window reads the file
        again.LoadDescription(path);
        EXPECT_FALSE(again.Find<TProbe>("Second"));
    }
    write("object F: TProbeForm\n  Bogus = 1\nend\n");
    TForm::PrepareDescription(path);
    TProbeForm broken;
    try {
        broken.LoadDescription(path);
        ADD_FAILURE() << "a broken description loaded";
    } catch (const EReadError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("(2): property Bogus does not exist"))) << e.Message().toStdString();
    }
    ComponentRegistry::RegisterPreparer(QStringLiteral("TProbe"), {});
}
