#include "item_sheets.h"

#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace itemsheets {

QByteArray FortyFiveByTwenty() {
    QStringList lines;
    QStringList header{QStringLiteral("学号"), QStringLiteral("姓名")};
    QStringList marks{QString(), QStringLiteral("满分")};
    for (int q = 1; q <= 20; ++q) {
        header << QStringLiteral("第%1题").arg(q);
        marks << "5";
    }
    header << QStringLiteral("总分");
    marks << "100";
    lines << header.join(',') << marks.join(',');
    uint32_t seed = 7;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return double(seed >> 8) / double(1u << 24);
    };
    for (int s = 1; s <= 45; ++s) {
        const double ability = double(s) / 45;
        QStringList row{QStringLiteral("2026%1").arg(s, 3, 10, QChar('0')), QStringLiteral("学生%1").arg(s)};
        int total = 0;
        for (int q = 1; q <= 20; ++q) {
            int v = int(std::lround(5 * std::clamp(ability + (next() - 0.5) * 0.6, 0.0, 1.0)));
            if (q == 3) v = 5;
            if (q == 7) v = 5 - v;
            if (q == 12) v = s > 43 ? 5 : 0;
            total += v;
            row << QString::number(v);
        }
        row << QString::number(total);
        lines << row.join(',');
    }
    return (lines.join("\n") + "\n").toUtf8();
}


QString Save(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size()) << path.toStdString();
    return path;
}

}  // namespace itemsheets
