#pragma once
// Sheets of per-question scores for the tests of the window and the report.
#include <QByteArray>
#include <QString>

namespace itemsheets {
// Forty-five students and twenty questions of 5 points as CSV, with a row
// of full marks and a 总分 column: question 3 everyone gets right, question 7
// is keyed the wrong way round, question 12 nearly no one gets, the rest
// follow the students' ability.
QByteArray FortyFiveByTwenty();
// bytes written to path; path.
QString Save(const QString& path, const QByteArray& bytes);
}
