#include "spreadsheet.h"

#include "office.h"
#include "office_document.h"
#include "word.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XSheetCellCursor.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XUsedAreaCursor.hpp>
#include <com/sun/star/table/CellRangeAddress.hpp>

#include <QFileInfo>

using namespace com::sun::star;
using office::Prop;
using office::Q;
using office::ClosingGuard;
using office::ConnectionGuard;
using office::Reference;

namespace {

// A class list is a few hundred cells; a sheet a thousand times larger is
// not one, and reading it over the pipe would take minutes.
constexpr qint64 kMaxCells = 300000;

SheetCells ReadSheet(const Reference<sheet::XSpreadsheet>& sheet, qint64& budget) {
    Reference<sheet::XSheetCellCursor> cursor(sheet->createCursor(), uno::UNO_SET_THROW);
    Reference<sheet::XUsedAreaCursor> used(cursor, uno::UNO_QUERY_THROW);
    used->gotoStartOfUsedArea(false);
    used->gotoEndOfUsedArea(true);
    Reference<sheet::XCellRangeAddressable> addressable(cursor, uno::UNO_QUERY_THROW);
    const table::CellRangeAddress a = addressable->getRangeAddress();
    const qint64 rows = qint64(a.EndRow) - a.StartRow + 1, cols = qint64(a.EndColumn) - a.StartColumn + 1;
    if (rows < 1 || cols < 1) return {};
    if (rows * cols > budget)
        throw ESheetError(ESheetError::Reason::TooLarge,
                          QStringLiteral("A sheet uses %1 rows and %2 columns").arg(rows).arg(cols));
    budget -= rows * cols;

    Reference<sheet::XCellRangeData> range(
        sheet->getCellRangeByPosition(a.StartColumn, a.StartRow, a.EndColumn, a.EndRow), uno::UNO_QUERY_THROW);
    const uno::Sequence<uno::Sequence<uno::Any>> data = range->getDataArray();

    SheetCells out;
    out.firstRow = a.StartRow + 1;
    out.rows.reserve(data.getLength());
    for (const auto& row : data) {
        QVariantList cells;
        cells.reserve(row.getLength());
        for (const uno::Any& cell : row) {
            double number = 0;
            rtl::OUString text;
            if (cell >>= number) cells << QVariant(number);
            else if (cell >>= text) cells << QVariant(Q(text));
            else cells << QVariant(QString());
        }
        out.rows << cells;
    }
    return out;
}

std::vector<NamedSheet> ReadCells(const Reference<lang::XComponent>& component, int onlyFirst) {
    Reference<sheet::XSpreadsheetDocument> doc(component, uno::UNO_QUERY);
    if (!doc.is())
        throw ESheetError(ESheetError::Reason::NotASpreadsheet, QStringLiteral("The file is not a spreadsheet"));
    Reference<container::XIndexAccess> sheets(doc->getSheets(), uno::UNO_QUERY_THROW);
    if (sheets->getCount() < 1)
        throw ESheetError(ESheetError::Reason::NotASpreadsheet, QStringLiteral("The spreadsheet has no sheet"));
    std::vector<NamedSheet> out;
    qint64 budget = kMaxCells;
    const int count = onlyFirst ? 1 : int(sheets->getCount());
    for (int k = 0; k < count; ++k) {
        Reference<sheet::XSpreadsheet> sheet(sheets->getByIndex(k), uno::UNO_QUERY_THROW);
        Reference<container::XNamed> named(sheet, uno::UNO_QUERY);
        out.push_back({named.is() ? Q(named->getName()) : QString(), ReadSheet(sheet, budget)});
    }
    return out;
}

std::vector<NamedSheet> ReadBook(const QString& path, bool onlyFirst);

}  // namespace

SheetCells ReadFirstSheet(const QString& path) { return ReadBook(path, true).front().cells; }

std::vector<NamedSheet> ReadSheets(const QString& path) { return ReadBook(path, false); }

namespace {
std::vector<NamedSheet> ReadBook(const QString& path, bool onlyFirst) {
    if (!QFileInfo(path).isFile())
        throw ESheetError(ESheetError::Reason::Unreadable, QStringLiteral("The file %1 does not exist").arg(path));

    std::shared_ptr<office::Connection> connection;
    try {
        connection = office::Connection::Open();
    } catch (const Exception& e) {
        throw ESheetError(ESheetError::Reason::NoOffice, e.Message());
    }
    ConnectionGuard office(connection);

    Reference<lang::XComponent> component;
    try {
        Reference<frame::XComponentLoader> loader(connection->Desktop(), uno::UNO_QUERY_THROW);
        // A file from outside: no macros, no links fetched, nothing shown.
        const beans::PropertyValue args[] = {
            Prop("Hidden", uno::Any(true)), Prop("ReadOnly", uno::Any(true)),
            Prop("MacroExecutionMode", uno::Any(document::MacroExecMode::NEVER_EXECUTE)),
            Prop("UpdateDocMode", uno::Any(document::UpdateDocMode::NO_UPDATE))};
        component = loader->loadComponentFromURL(office::FileUrl(path), "_blank", 0,
                                                 uno::Sequence<beans::PropertyValue>(args, 4));
    } catch (const uno::Exception& e) {
        throw ESheetError(ESheetError::Reason::Unreadable, Q(e.Message));
    } catch (const Exception& e) {
        throw ESheetError(ESheetError::Reason::Unreadable, e.Message());
    }
    if (!component.is())
        throw ESheetError(ESheetError::Reason::Unreadable, QStringLiteral("The office could not open %1").arg(path));
    ClosingGuard closing(component);
    try {
        return ReadCells(component, onlyFirst);
    } catch (const uno::Exception& e) {
        throw ESheetError(ESheetError::Reason::Unreadable, Q(e.Message));
    }
}
}  // namespace
