#pragma once
// Word-style automation wrappers over an office process. TWordApplication and
// TWordDocument keep the object model the report code was written against
// (Documents, Tables, Range, Cells); underneath, LibreOffice Writer does the
// work through UNO. Every failed call throws EWordError.
#include "exceptions.h"

#include <QList>
#include <QObject>
#include <QSize>
#include <QString>
#include <QVariant>
#include <memory>
#include <optional>

MARKWISE_EXCEPTION(EWordError)

// An optional automation argument; EmptyParam leaves it to the office's default.
using OleVariant = std::optional<QVariant>;
inline const OleVariant EmptyParam;

// How the office is found and started. Each running copy of the program has
// its own pipe and profile, so two copies never share an office. Tests point
// these at their own.
struct OfficeSettings {
    QString program = QStringLiteral("soffice");
    QString pipeName;           // by default one named after this process
    QString userInstallation;   // profile folder; empty: one of ours claimed under profileRoot
    QString profileRoot;
    int startTimeoutMs = 60000;
    // How often the office kept between commands is looked after.
    int keeperIntervalMs = 2000;
};

namespace office { class Connection; }
namespace wordimpl { struct DocState; struct RangeState; struct AppState; }

class WordCells;

class WordRange {
public:
    QString Text() const;
    // Replaces the whole content; CR LF, CR or LF each start a new paragraph.
    void SetText(const QString& text);
    WordCells Cells() const;
    // Replaces the content with the clipboard's picture at 1:1 pixel size.
    void Paste();
    // Pixel sizes of the pictures in the range, in document order.
    QList<QSize> Pictures() const;

    explicit WordRange(std::shared_ptr<wordimpl::RangeState> s) : s_(std::move(s)) {}
private:
    std::shared_ptr<wordimpl::RangeState> s_;
};

class WordCell {
public:
    WordRange Range() const { return range_; }
    explicit WordCell(WordRange r) : range_(std::move(r)) {}
private:
    WordRange range_;
};

// The cells of a range, numbered from 1 row by row, left to right.
class WordCells {
public:
    int Count() const;
    WordCell Item(int k) const;
    explicit WordCells(std::shared_ptr<wordimpl::RangeState> s) : s_(std::move(s)) {}
private:
    std::shared_ptr<wordimpl::RangeState> s_;
};

class WordTable {
public:
    WordRange Range() const;
    explicit WordTable(std::shared_ptr<wordimpl::RangeState> s) : s_(std::move(s)) {}
private:
    std::shared_ptr<wordimpl::RangeState> s_;
};

// The top-level tables of a document in document order, numbered from 1.
class WordTables {
public:
    int Count() const;
    WordTable Item(int n) const;
    // A new table of rows x columns right after table n, below a heading
    // paragraph of its own styled as the one above table n; its cells take
    // the font of table n's. It becomes table n + 1.
    WordTable Add(int n, const QString& heading, int rows, int columns);
    explicit WordTables(std::shared_ptr<wordimpl::DocState> d) : d_(std::move(d)) {}
private:
    std::shared_ptr<wordimpl::DocState> d_;
};

// One open document, as the Documents collection hands it out.
class WordDocument {
public:
    WordDocument() = default;
    explicit WordDocument(std::shared_ptr<wordimpl::DocState> d) : d_(std::move(d)) {}
    bool IsNull() const { return !d_; }
    QString FullName() const;
    bool ReadOnly() const;
    bool Hidden() const;
    const std::shared_ptr<wordimpl::DocState>& State() const { return d_; }
private:
    std::shared_ptr<wordimpl::DocState> d_;
};

class TWordApplication;

class WordDocuments {
public:
    // The twelve arguments of opening a document; only the file name is required.
    WordDocument Open(const OleVariant& FileName, const OleVariant& ConfirmConversions = EmptyParam,
                      const OleVariant& ReadOnly = EmptyParam, const OleVariant& AddToRecentFiles = EmptyParam,
                      const OleVariant& PasswordDocument = EmptyParam,
                      const OleVariant& PasswordTemplate = EmptyParam, const OleVariant& Revert = EmptyParam,
                      const OleVariant& WritePasswordDocument = EmptyParam,
                      const OleVariant& WritePasswordTemplate = EmptyParam,
                      const OleVariant& Format = EmptyParam, const OleVariant& Encoding = EmptyParam,
                      const OleVariant& Visible = EmptyParam);
    // 1 is the document opened or added last.
    WordDocument Item(int index);
    int Count();
    // A new untitled document that is a copy of the template file.
    WordDocument Add(const OleVariant& Template = EmptyParam, const OleVariant& NewTemplate = EmptyParam);

    explicit WordDocuments(TWordApplication* app) : app_(app) {}
private:
    template <typename F>
    auto WithOffice(F&& f) -> decltype(f());
    void Adopt(wordimpl::AppState& st);
    TWordApplication* app_;
};

class TWordApplication : public QObject {
public:
    explicit TWordApplication(QObject* owner = nullptr);
    ~TWordApplication() override;

    // Attaches to our office, or starts it. Every other call connects by itself.
    void Connect();
    // Attaches only to an office already listening; false when there is none.
    bool Attach();
    // Lets go of the office; one this wrapper started with nothing open in it is ended.
    void Disconnect();
    bool Connected() const;

    void SetVisible(bool visible);
    bool Visible() const { return visible_; }

    WordDocuments Documents();
    void Quit(const OleVariant& SaveChanges = EmptyParam, const OleVariant& OriginalFormat = EmptyParam,
              const OleVariant& RouteDocument = EmptyParam);
    // Prints the active document (the one opened or added last). OutputFileName
    // with PrintToFile true writes the printer's output to that file instead.
    void PrintOut(const OleVariant& Background = EmptyParam, const OleVariant& Append = EmptyParam,
                  const OleVariant& Range = EmptyParam, const OleVariant& OutputFileName = EmptyParam,
                  const OleVariant& From = EmptyParam, const OleVariant& To = EmptyParam,
                  const OleVariant& Item = EmptyParam, const OleVariant& Copies = EmptyParam,
                  const OleVariant& Pages = EmptyParam, const OleVariant& PageType = EmptyParam,
                  const OleVariant& PrintToFile = EmptyParam, const OleVariant& Collate = EmptyParam,
                  const OleVariant& FileName = EmptyParam, const OleVariant& ActivePrinterMacGX = EmptyParam,
                  const OleVariant& ManualDuplex = EmptyParam);

    // The process of the office this wrapper is connected to, or 0.
    qint64 OfficeProcessId() const;

    static OfficeSettings& Settings();
    // While the office is kept, quitting or disconnecting closes only this
    // wrapper's own documents and leaves the office running for the next
    // command; whoever keeps it ends it.
    static void SetOfficeKept(bool kept);
    static bool OfficeKept();

private:
    friend class WordDocuments;
    void EnsureConnected();
    std::shared_ptr<wordimpl::AppState> s_;
    bool visible_ = false;
};

class TWordDocument : public QObject {
public:
    explicit TWordDocument(QObject* owner = nullptr);
    ~TWordDocument() override;

    void ConnectTo(const WordDocument& doc);
    void Disconnect();
    bool Connected() const;

    WordTables Tables();
    // Writes a Word 97-2003 document, replacing an existing file.
    void SaveAs(const OleVariant& FileName, const OleVariant& FileFormat = EmptyParam,
                const OleVariant& LockComments = EmptyParam, const OleVariant& Password = EmptyParam,
                const OleVariant& AddToRecentFiles = EmptyParam, const OleVariant& WritePassword = EmptyParam,
                const OleVariant& ReadOnlyRecommended = EmptyParam,
                const OleVariant& EmbedTrueTypeFonts = EmptyParam,
                const OleVariant& SaveNativePictureFormat = EmptyParam,
                const OleVariant& SaveFormsData = EmptyParam, const OleVariant& SaveAsAOCELetter = EmptyParam);
    // SaveChanges true saves first; otherwise the document closes as it is.
    // Writes the document as PDF through the office's PDF export; the
    // document itself stays as it is.
    void ExportPdf(const QString& fileName);
    void Close(const OleVariant& SaveChanges = EmptyParam, const OleVariant& OriginalFormat = EmptyParam,
               const OleVariant& RouteDocument = EmptyParam);

private:
    WordDocument doc_;
};
