#include "word.h"

#include "office.h"
#include "office_document.h"
#include "office_process.h"
#include "report_errors.h"

#include <com/sun/star/awt/Size.hpp>
#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/graphic/GraphicProvider.hpp>
#include <com/sun/star/graphic/XGraphic.hpp>
#include <com/sun/star/io/SequenceInputStream.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/awt/FontWeight.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/text/ControlCharacter.hpp>
#include <com/sun/star/text/TextContentAnchorType.hpp>
#include <com/sun/star/text/XParagraphCursor.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextContent.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextGraphicObjectsSupplier.hpp>
#include <com/sun/star/text/XTextTable.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/view/XPrintable.hpp>

#include <osl/file.hxx>

#include <QBuffer>
#include <QFileInfo>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QRegularExpression>
#include <QStandardPaths>

#include <functional>
#include <vector>

using namespace com::sun::star;
using office::Prop;
using office::Q;
using office::U;
using office::Reference;

namespace wordimpl {

struct DocState {
    std::shared_ptr<office::Connection> conn;  // keeps the bridge alive
    Reference<lang::XComponent> component;
    bool hidden = true;
    bool adopted = false;  // opened by someone else (an earlier command, the user)
};

struct RangeState {
    std::shared_ptr<DocState> doc;
    Reference<text::XTextTable> table;  // a table's range
    Reference<text::XText> cell;        // or one cell's range
};

struct AppState {
    std::shared_ptr<office::Connection> conn;
    std::vector<std::shared_ptr<DocState>> docs;  // newest first
};

}  // namespace wordimpl

using wordimpl::AppState;
using wordimpl::DocState;
using wordimpl::RangeState;

namespace {

// Runs a UNO call and turns its failures into our error.
template <typename F>
auto Call(const char* what, F&& f) -> decltype(f()) {
    try {
        return f();
    } catch (const EWordError&) {
        throw;
    } catch (const lang::DisposedException& e) {
        throw reporterror::OfficeGone(QStringLiteral("%1 failed: %2").arg(QLatin1String(what), Q(e.Message)));
    } catch (const uno::RuntimeException& e) {
        // A bridge that went down mid-call reports itself so.
        const QString detail = QStringLiteral("%1 failed: %2").arg(QLatin1String(what), Q(e.Message));
        if (Q(e.Message).contains(QLatin1String("disposed"))) throw reporterror::OfficeGone(detail);
        throw reporterror::OfficeFailed(detail);
    } catch (const uno::Exception& e) {
        throw reporterror::OfficeFailed(QStringLiteral("%1 failed: %2").arg(QLatin1String(what), Q(e.Message)));
    }
}

uno::Sequence<beans::PropertyValue> Seq(const std::vector<beans::PropertyValue>& v) {
    return uno::Sequence<beans::PropertyValue>(v.data(), static_cast<sal_Int32>(v.size()));
}

bool Bool(const OleVariant& v, bool fallback) { return v ? v->toBool() : fallback; }

QString Str(const OleVariant& v) { return v ? v->toString() : QString(); }

bool IsOpen(const DocState& d) {
    if (!d.component.is()) return false;
    try {
        Reference<frame::XModel> model(d.component, uno::UNO_QUERY);
        return model.is() && model->getCurrentController().is();
    } catch (...) {
        return false;
    }
}

Reference<text::XTextDocument> TextDoc(const std::shared_ptr<DocState>& d) {
    if (!d || !d->component.is()) throw EWordError(QStringLiteral("The document is not connected"));
    Reference<text::XTextDocument> doc(d->component, uno::UNO_QUERY);
    if (!doc.is()) throw EWordError(QStringLiteral("The document is not a text document"));
    return doc;
}

std::vector<Reference<text::XTextTable>> TopLevelTables(const std::shared_ptr<DocState>& d) {
    return Call("Tables", [&] {
        std::vector<Reference<text::XTextTable>> out;
        Reference<container::XEnumerationAccess> body(TextDoc(d)->getText(), uno::UNO_QUERY_THROW);
        auto e = body->createEnumeration();
        while (e->hasMoreElements()) {
            Reference<text::XTextTable> t(e->nextElement(), uno::UNO_QUERY);
            if (t.is()) out.push_back(t);
        }
        return out;
    });
}

// Cell names in row order; a row with fewer cells simply has fewer names.
std::vector<rtl::OUString> CellNames(const Reference<text::XTextTable>& t) {
    auto names = t->getCellNames();
    return std::vector<rtl::OUString>(names.begin(), names.end());
}

Reference<text::XText> CellText(const Reference<text::XTextTable>& t, const rtl::OUString& name) {
    Reference<text::XText> text(t->getCellByName(name), uno::UNO_QUERY_THROW);
    return text;
}

// Paragraph breaks where the text has line breaks in any of the usual forms.
QString ToParagraphs(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
    text.replace(QChar('\n'), QChar('\r'));
    return text;
}

}  // namespace

// ---- ranges, cells, tables ----

QString WordRange::Text() const {
    return Call("Range.Text", [&] {
        if (s_->cell.is()) return Q(s_->cell->getString());
        QStringList parts;
        for (const auto& n : CellNames(s_->table)) parts << Q(CellText(s_->table, n)->getString());
        return parts.join('\t');
    });
}

void WordRange::SetText(const QString& text) {
    Call("Range.Text", [&] {
        if (!s_->cell.is()) throw EWordError(QStringLiteral("Only a cell's text can be replaced"));
        // setString turns CR into paragraph breaks and clears pictures anchored in the cell
        s_->cell->setString(U(ToParagraphs(text)));
    });
}

WordCells WordRange::Cells() const { return WordCells(s_); }

void WordRange::Paste() {
    const QImage clip = QGuiApplication::clipboard()->image();
    if (clip.isNull()) throw EWordError(QStringLiteral("Paste failed: the clipboard holds no picture"));
    if (!s_->cell.is()) throw EWordError(QStringLiteral("Paste failed: not a cell"));
    QImage img = clip.convertToFormat(QImage::Format_RGB32);
    img.setDotsPerMeterX(3780);  // 96 dpi: one pixel per screen pixel
    img.setDotsPerMeterY(3780);
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    Call("Paste", [&] {
        auto ctx = s_->doc->conn->Context();
        uno::Sequence<sal_Int8> bytes(reinterpret_cast<const sal_Int8*>(png.constData()), png.size());
        auto stream = io::SequenceInputStream::createStreamFromSequence(ctx, bytes);
        auto provider = graphic::GraphicProvider::create(ctx);
        auto g = provider->queryGraphic(Seq({Prop("InputStream", uno::Any(stream))}));
        if (!g.is()) throw EWordError(QStringLiteral("Paste failed: the picture was not accepted"));
        Reference<lang::XMultiServiceFactory> factory(s_->doc->component, uno::UNO_QUERY_THROW);
        Reference<text::XTextContent> shape(factory->createInstance("com.sun.star.text.TextGraphicObject"),
                                            uno::UNO_QUERY_THROW);
        Reference<beans::XPropertySet> props(shape, uno::UNO_QUERY_THROW);
        props->setPropertyValue("AnchorType", uno::Any(text::TextContentAnchorType_AS_CHARACTER));
        props->setPropertyValue("Graphic", uno::Any(g));
        // 1/100 mm at 96 pixels per inch
        props->setPropertyValue("Width", uno::Any(sal_Int32((img.width() * 2540 + 48) / 96)));
        props->setPropertyValue("Height", uno::Any(sal_Int32((img.height() * 2540 + 48) / 96)));
        s_->cell->setString(rtl::OUString());
        s_->cell->insertTextContent(s_->cell->getStart(), shape, false);
    });
}

QList<QSize> WordRange::Pictures() const {
    return Call("Range.Pictures", [&] {
        QList<QSize> out;
        Reference<text::XTextGraphicObjectsSupplier> sup(s_->doc->component, uno::UNO_QUERY_THROW);
        Reference<container::XIndexAccess> all(sup->getGraphicObjects(), uno::UNO_QUERY_THROW);
        std::vector<Reference<text::XText>> texts;
        if (s_->cell.is()) texts.push_back(s_->cell);
        else
            for (const auto& n : CellNames(s_->table)) texts.push_back(CellText(s_->table, n));
        for (sal_Int32 i = 0; i < all->getCount(); ++i) {
            Reference<text::XTextContent> c(all->getByIndex(i), uno::UNO_QUERY_THROW);
            Reference<uno::XInterface> anchorText(c->getAnchor()->getText(), uno::UNO_QUERY);
            bool inside = false;
            for (const auto& t : texts)
                if (Reference<uno::XInterface>(t, uno::UNO_QUERY) == anchorText) inside = true;
            if (!inside) continue;
            Reference<beans::XPropertySet> props(c, uno::UNO_QUERY_THROW);
            Reference<beans::XPropertySet> g(props->getPropertyValue("Graphic"), uno::UNO_QUERY_THROW);
            awt::Size px;
            g->getPropertyValue("SizePixel") >>= px;
            out << QSize(px.Width, px.Height);
        }
        return out;
    });
}

int WordCells::Count() const {
    return Call("Cells.Count", [&] { return s_->cell.is() ? 1 : int(CellNames(s_->table).size()); });
}

WordCell WordCells::Item(int k) const {
    return Call("Cells.Item", [&] {
        if (s_->cell.is()) {
            if (k != 1) throw EWordError(QStringLiteral("Cells.Item(%1): no such cell").arg(k));
            return WordCell(WordRange(s_));
        }
        const auto names = CellNames(s_->table);
        if (k < 1 || k > int(names.size()))
            throw EWordError(QStringLiteral("Cells.Item(%1): the table has %2 cells").arg(k).arg(names.size()));
        auto r = std::make_shared<RangeState>();
        r->doc = s_->doc;
        r->cell = CellText(s_->table, names[k - 1]);
        return WordCell(WordRange(r));
    });
}

WordRange WordTable::Range() const { return WordRange(s_); }

int WordTables::Count() const { return int(TopLevelTables(d_).size()); }

WordTable WordTables::Item(int n) const {
    const auto tables = TopLevelTables(d_);
    if (n < 1 || n > int(tables.size()))
        throw EWordError(QStringLiteral("Tables.Item(%1): the document has %2 tables").arg(n).arg(tables.size()));
    auto r = std::make_shared<RangeState>();
    r->doc = d_;
    r->table = tables[n - 1];
    return WordTable(r);
}

WordTable WordTables::Add(int n, const QString& heading, int rows, int columns) {
    return Call("Tables.Add", [&] {
        if (rows < 1 || columns < 1 || columns > 26)
            throw EWordError(QStringLiteral("Tables.Add: %1 x %2 cells").arg(rows).arg(columns));
        Reference<text::XText> body = TextDoc(d_)->getText();
        Reference<container::XEnumerationAccess> access(body, uno::UNO_QUERY_THROW);
        // The paragraph before table n gives the heading's style; the one after it is where the table goes.
        Reference<text::XTextTable> anchor;
        Reference<text::XTextContent> before, after;
        int seen = 0;
        for (auto e = access->createEnumeration(); e->hasMoreElements();) {
            Reference<text::XTextContent> element(e->nextElement(), uno::UNO_QUERY);
            Reference<text::XTextTable> table(element, uno::UNO_QUERY);
            if (anchor.is()) {
                after = element;
                break;
            }
            if (table.is() && ++seen == n) anchor = table;
            else if (!table.is()) before = element;
        }
        if (!anchor.is()) throw EWordError(QStringLiteral("Tables.Add(%1): the document has %2 tables").arg(n).arg(seen));
        Reference<text::XTextCursor> cursor =
            body->createTextCursorByRange(after.is() ? after->getAnchor()->getStart() : body->getEnd());
        const Reference<text::XTextRange> at(cursor.get());  // moves with the cursor
        if (!after.is()) body->insertControlCharacter(at, text::ControlCharacter::PARAGRAPH_BREAK, false);
        // A line of space above, as the headings of the template have.
        body->insertControlCharacter(at, text::ControlCharacter::LINE_BREAK, false);
        body->insertString(at, U(heading), false);
        body->insertControlCharacter(at, text::ControlCharacter::PARAGRAPH_BREAK, false);
        // Back into the heading, which the break left as the paragraph it split.
        Reference<text::XParagraphCursor> paragraph(body->createTextCursorByRange(cursor->getStart()), uno::UNO_QUERY_THROW);
        paragraph->gotoPreviousParagraph(false);
        paragraph->gotoEndOfParagraph(true);
        Reference<beans::XPropertySet> headingProps(paragraph, uno::UNO_QUERY_THROW);
        Reference<text::XParagraphCursor> look(body->createTextCursorByRange(
                                                   before.is() ? before->getAnchor()->getEnd() : anchor->getAnchor()->getStart()),
                                               uno::UNO_QUERY_THROW);
        look->gotoStartOfParagraph(true);
        Reference<beans::XPropertySet> lookProps(look, uno::UNO_QUERY_THROW);
        // The heading looks like the one above table n, whether that is its style or its own formatting.
        for (const char* p : {"ParaStyleName", "CharWeight", "CharWeightAsian", "CharHeight", "CharHeightAsian",
                              "CharFontName", "CharFontNameAsian"}) {
            const rtl::OUString name = rtl::OUString::createFromAscii(p);
            const uno::Any value = lookProps->getPropertyValue(name);
            if (value.hasValue()) headingProps->setPropertyValue(name, value);
        }

        Reference<lang::XMultiServiceFactory> factory(d_->component, uno::UNO_QUERY_THROW);
        Reference<text::XTextTable> table(factory->createInstance("com.sun.star.text.TextTable"), uno::UNO_QUERY_THROW);
        table->initialize(rows, columns);
        body->insertTextContent(at, Reference<text::XTextContent>(table, uno::UNO_QUERY_THROW), false);

        const auto names = CellNames(anchor);
        if (!names.empty()) {
            Reference<beans::XPropertySet> font(CellText(anchor, names.front())->createTextCursor(), uno::UNO_QUERY_THROW);
            Reference<table::XCellRange> cells(table, uno::UNO_QUERY_THROW);
            const QString last = QStringLiteral("%1%2").arg(QChar('A' + columns - 1)).arg(rows);
            Reference<beans::XPropertySet> all(cells->getCellRangeByName(U("A1:" + last)), uno::UNO_QUERY_THROW);
            for (const char* p : {"CharFontName", "CharFontNameAsian", "CharHeight", "CharHeightAsian"})
                all->setPropertyValue(rtl::OUString::createFromAscii(p), font->getPropertyValue(rtl::OUString::createFromAscii(p)));
            const QString firstRow = QStringLiteral("A1:") + QChar('A' + columns - 1) + QLatin1Char('1');
            Reference<beans::XPropertySet> header(cells->getCellRangeByName(U(firstRow)), uno::UNO_QUERY_THROW);
            header->setPropertyValue("CharWeight", uno::Any(awt::FontWeight::BOLD));
            header->setPropertyValue("CharWeightAsian", uno::Any(awt::FontWeight::BOLD));
        }
        auto r = std::make_shared<RangeState>();
        r->doc = d_;
        r->table = table;
        return WordTable(r);
    });
}

// ---- documents ----

QString WordDocument::FullName() const {
    return Call("FullName", [&] {
        Reference<frame::XModel> m(d_->component, uno::UNO_QUERY_THROW);
        rtl::OUString path;
        osl::FileBase::getSystemPathFromFileURL(m->getURL(), path);
        return Q(path);
    });
}

bool WordDocument::ReadOnly() const {
    return Call("ReadOnly", [&] {
        Reference<frame::XStorable> s(d_->component, uno::UNO_QUERY_THROW);
        return bool(s->isReadonly());
    });
}

bool WordDocument::Hidden() const { return d_->hidden; }

template <typename F>
auto WordDocuments::WithOffice(F&& f) -> decltype(f()) {
    app_->EnsureConnected();
    try {
        return f();
    } catch (const EOfficeGone&) {
        // An office found running may be on its way out (the teacher closed
        // its last window): start it anew, once. One we just started that
        // dies is a real failure.
        if (app_->s_->conn && app_->s_->conn->Started()) throw;
        app_->s_->conn.reset();
        app_->s_->docs.clear();
        office::Process::Instance().End(10000);
        app_->EnsureConnected();
        return f();
    }
}

WordDocument WordDocuments::Open(const OleVariant& FileName, const OleVariant&, const OleVariant& ReadOnly,
                                 const OleVariant&, const OleVariant& PasswordDocument, const OleVariant&,
                                 const OleVariant&, const OleVariant&, const OleVariant&, const OleVariant& Format,
                                 const OleVariant&, const OleVariant& Visible) {
    const QString path = Str(FileName);
    if (path.isEmpty()) throw EWordError(QStringLiteral("Documents.Open: no file name"));
    const bool visible = Bool(Visible, app_->Visible());
    if (!QFileInfo::exists(path)) throw reporterror::Missing(path);
    return WithOffice([&] { return Call("Documents.Open", [&] {
        auto& st = *app_->s_;
        std::vector<beans::PropertyValue> args{Prop("Hidden", uno::Any(!visible)),
                                               Prop("ReadOnly", uno::Any(Bool(ReadOnly, false)))};
        if (PasswordDocument) args.push_back(Prop("Password", uno::Any(U(Str(PasswordDocument)))));
        // A format given by name is the office's import filter for the file.
        if (Format) args.push_back(Prop("FilterName", uno::Any(U(Str(Format)))));
        Reference<frame::XComponentLoader> loader(st.conn->Desktop(), uno::UNO_QUERY_THROW);
        auto comp = loader->loadComponentFromURL(office::FileUrl(path), "_blank", 0, Seq(args));
        if (!comp.is()) throw reporterror::OfficeFailed(QStringLiteral("Documents.Open: cannot open %1").arg(path));
        auto d = std::make_shared<DocState>();
        d->conn = st.conn;
        d->component = comp;
        d->hidden = !visible;
        st.docs.insert(st.docs.begin(), d);
        return WordDocument(d);
    }); });
}

WordDocument WordDocuments::Add(const OleVariant& Template, const OleVariant&) {
    const QString path = Str(Template);
    if (!path.isEmpty() && !QFileInfo::exists(path)) throw reporterror::Missing(path);
    return WithOffice([&] { return Call("Documents.Add", [&] {
        auto& st = *app_->s_;
        rtl::OUString url = "private:factory/swriter";
        std::vector<beans::PropertyValue> args{Prop("Hidden", uno::Any(!app_->Visible()))};
        if (!path.isEmpty()) {
            url = office::FileUrl(path);
            args.push_back(Prop("AsTemplate", uno::Any(true)));
        }
        Reference<frame::XComponentLoader> loader(st.conn->Desktop(), uno::UNO_QUERY_THROW);
        auto comp = loader->loadComponentFromURL(url, "_blank", 0, Seq(args));
        if (!comp.is()) throw reporterror::OfficeFailed(QStringLiteral("Documents.Add: cannot open %1").arg(path));
        auto d = std::make_shared<DocState>();
        d->conn = st.conn;
        d->component = comp;
        d->hidden = !app_->Visible();
        st.docs.insert(st.docs.begin(), d);
        return WordDocument(d);
    }); });
}

int WordDocuments::Count() {
    return WithOffice([&] {
        auto& st = *app_->s_;
        std::erase_if(st.docs, [](const auto& d) { return !IsOpen(*d); });
        // Documents opened by others (an earlier run, the user) come after ours.
        Call("Documents", [&] { Adopt(st); });
        return int(st.docs.size());
    });
}

void WordDocuments::Adopt(wordimpl::AppState& st) {
    auto e = st.conn->Desktop()->getComponents()->createEnumeration();
    while (e->hasMoreElements()) {
        Reference<lang::XComponent> c(e->nextElement(), uno::UNO_QUERY);
        Reference<frame::XModel> m(c, uno::UNO_QUERY);
        if (!m.is()) continue;
        bool known = false;
        for (const auto& d : st.docs) known = known || d->component == c;
        if (known) continue;
        auto d = std::make_shared<DocState>();
        d->conn = st.conn;
        d->component = c;
        bool hidden = false;
        for (const auto& a : m->getArgs())
            if (a.Name == "Hidden") a.Value >>= hidden;
        d->hidden = hidden;
        d->adopted = true;
        st.docs.push_back(d);
    }
}


WordDocument WordDocuments::Item(int index) {
    const int n = Count();
    if (index < 1 || index > n)
        throw EWordError(QStringLiteral("Documents.Item(%1): %2 documents are open").arg(index).arg(n));
    return WordDocument(app_->s_->docs[index - 1]);
}

// ---- application ----

OfficeSettings& TWordApplication::Settings() {
    // Profiles of our own keep the report's office apart from one the user
    // has open: quitting ours never closes their documents.
    static OfficeSettings s = [] {
        OfficeSettings d;
        d.pipeName = QStringLiteral("markwise_office_%1").arg(QCoreApplication::applicationPid());
        d.profileRoot = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                        QStringLiteral("/markwise/office");
        return d;
    }();
    return s;
}

namespace {
bool g_officeKept = false;
}

void TWordApplication::SetOfficeKept(bool kept) { g_officeKept = kept; }
bool TWordApplication::OfficeKept() { return g_officeKept; }

TWordApplication::TWordApplication(QObject* owner) : QObject(owner), s_(std::make_shared<AppState>()) {}

TWordApplication::~TWordApplication() {
    try {
        Disconnect();
    } catch (...) {
    }
}

void TWordApplication::EnsureConnected() {
    if (s_->conn && s_->conn->Desktop().is()) return;
    s_->docs.clear();
    s_->conn = office::Connection::Open();
}

void TWordApplication::Connect() { EnsureConnected(); }

bool TWordApplication::Attach() {
    if (Connected()) return true;
    s_->docs.clear();
    s_->conn = office::Connection::Attach();
    return s_->conn != nullptr;
}

// Each call on the collection connects by itself.
WordDocuments TWordApplication::Documents() { return WordDocuments(this); }

bool TWordApplication::Connected() const { return s_->conn && s_->conn->Desktop().is(); }

void TWordApplication::Disconnect() {
    if (!s_->conn) return;
    auto conn = std::move(s_->conn);
    s_->docs.clear();
    // An office this wrapper started that has nothing open has nobody to end it later.
    bool empty = false;
    try {
        empty = conn->Started() && conn->Desktop().is() &&
                !conn->Desktop()->getComponents()->createEnumeration()->hasMoreElements();
    } catch (const uno::Exception&) {
    }
    if (empty && !OfficeKept()) conn->Terminate();
    else conn->Release();
}

void TWordApplication::SetVisible(bool visible) {
    visible_ = visible;
    EnsureConnected();
    if (!visible) return;
    Call("Visible", [&] {
        for (const auto& d : s_->docs) {
            Reference<frame::XModel> m(d->component, uno::UNO_QUERY);
            if (!m.is() || !m->getCurrentController().is()) continue;
            m->getCurrentController()->getFrame()->getContainerWindow()->setVisible(true);
            d->hidden = false;
        }
    });
}

qint64 TWordApplication::OfficeProcessId() const { return s_->conn ? office::Process::Instance().Pid() : 0; }

void TWordApplication::Quit(const OleVariant& SaveChanges, const OleVariant&, const OleVariant&) {
    // Starting an office only to end it would be pointless (and slow when it
    // cannot start at all).
    if (!Attach()) return;
    auto conn = std::move(s_->conn);
    const bool kept = OfficeKept();
    std::optional<EWordError> failed;
    try {
        Call("Quit", [&] {
            for (const auto& d : s_->docs) {
                if (!IsOpen(*d) || (kept && d->adopted)) continue;
                Reference<frame::XStorable> st(d->component, uno::UNO_QUERY);
                if (Bool(SaveChanges, false) && st.is() && st->hasLocation() && !st->isReadonly()) st->store();
                Reference<util::XCloseable> c(d->component, uno::UNO_QUERY);
                if (c.is()) c->close(true);
            }
        });
    } catch (const EWordError& e) {
        failed = e;
    }
    s_->docs.clear();
    // The office ends even when a document would not close.
    if (kept) conn->Release();
    else conn->Terminate();
    if (failed) throw *failed;
}

void TWordApplication::PrintOut(const OleVariant&, const OleVariant&, const OleVariant&,
                                const OleVariant& OutputFileName, const OleVariant&, const OleVariant&,
                                const OleVariant&, const OleVariant& Copies, const OleVariant&, const OleVariant&,
                                const OleVariant& PrintToFile, const OleVariant&, const OleVariant&,
                                const OleVariant&, const OleVariant&) {
    WordDocuments docs(this);
    if (docs.Count() == 0) throw EWordError(QStringLiteral("PrintOut: no document is open"));
    auto d = s_->docs.front();
    Call("PrintOut", [&] {
        Reference<view::XPrintable> p(d->component, uno::UNO_QUERY_THROW);
        std::vector<beans::PropertyValue> opts{Prop("Wait", uno::Any(true))};
        if (Copies) opts.push_back(Prop("CopyCount", uno::Any(sal_Int16(Copies->toInt()))));
        if (Bool(PrintToFile, false) && !Str(OutputFileName).isEmpty())
            opts.push_back(Prop("FileName", uno::Any(office::FileUrl(Str(OutputFileName)))));
        p->print(Seq(opts));
    });
}

// ---- document wrapper ----

TWordDocument::TWordDocument(QObject* owner) : QObject(owner) {}

TWordDocument::~TWordDocument() = default;

void TWordDocument::ConnectTo(const WordDocument& doc) {
    if (doc.IsNull()) throw EWordError(QStringLiteral("ConnectTo: no document"));
    doc_ = doc;
}

void TWordDocument::Disconnect() { doc_ = WordDocument(); }

bool TWordDocument::Connected() const { return !doc_.IsNull(); }

WordTables TWordDocument::Tables() {
    TextDoc(doc_.State());
    return WordTables(doc_.State());
}

void TWordDocument::SaveAs(const OleVariant& FileName, const OleVariant&, const OleVariant&,
                           const OleVariant& Password, const OleVariant&, const OleVariant&, const OleVariant&,
                           const OleVariant&, const OleVariant&, const OleVariant&, const OleVariant&) {
    const QString path = Str(FileName);
    if (path.isEmpty()) throw EWordError(QStringLiteral("SaveAs: no file name"));
    auto doc = TextDoc(doc_.State());
    Call("SaveAs", [&] {
        Reference<frame::XStorable> st(doc, uno::UNO_QUERY_THROW);
        std::vector<beans::PropertyValue> args{Prop("FilterName", uno::Any(rtl::OUString("MS Word 97"))),
                                               Prop("Overwrite", uno::Any(true))};
        if (Password) args.push_back(Prop("Password", uno::Any(U(Str(Password)))));
        st->storeAsURL(office::FileUrl(path), Seq(args));
    });
}

void TWordDocument::ExportPdf(const QString& fileName) {
    if (fileName.isEmpty()) throw EWordError(QStringLiteral("ExportPdf: no file name"));
    auto doc = TextDoc(doc_.State());
    Call("ExportPdf", [&] {
        Reference<frame::XStorable> st(doc, uno::UNO_QUERY_THROW);
        std::vector<beans::PropertyValue> args{Prop("FilterName", uno::Any(rtl::OUString("writer_pdf_Export"))),
                                               Prop("Overwrite", uno::Any(true))};
        st->storeToURL(office::FileUrl(fileName), Seq(args));
    });
}

void TWordDocument::Close(const OleVariant& SaveChanges, const OleVariant&, const OleVariant&) {
    auto doc = TextDoc(doc_.State());
    Call("Close", [&] {
        if (Bool(SaveChanges, false)) {
            Reference<frame::XStorable> st(doc, uno::UNO_QUERY_THROW);
            st->store();
        }
        Reference<util::XCloseable> c(doc, uno::UNO_QUERY_THROW);
        c->close(true);
    });
}
