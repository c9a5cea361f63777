// The class file's type as a file manager finds it: by its extension, by
// its first bytes when the extension is gone, and never for other JSON.
// The MIME database comes from our entry through update-mime-database, in
// an XDG data folder of the build; the system's stays behind it for the
// types ours builds on.
#include <QFile>
#include <QLocale>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kClassType = QStringLiteral("application/x-markwise-class");

// The first bytes our writer gives every class file.
const QByteArray kClassHead = "{\n    \"format\": \"markwise-class\",\n    \"version\": ";

class ClassFileType : public ::testing::Test {
protected:
    // Before the first look-up, which fixes the folders for the process.
    static void SetUpTestSuite() { qputenv("XDG_DATA_HOME", MARKWISE_TEST_XDG_DATA_HOME); }

    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = dir_.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QString TypeOf(const QString& path) { return QMimeDatabase().mimeTypeForFile(path).name(); }

    QTemporaryDir dir_;
};

TEST_F(ClassFileType, IsKnownByItsExtensionAlone) {
    EXPECT_EQ(QMimeDatabase().mimeTypeForFile(QStringLiteral("三年级二班.mwclass"), QMimeDatabase::MatchExtension).name(),
              kClassType);
    EXPECT_NE(QMimeDatabase().mimeTypeForFile(QStringLiteral("三年级二班.mwgrade"), QMimeDatabase::MatchExtension).name(),
              kClassType);
}

TEST_F(ClassFileType, IsKnownByItsContentWithoutTheExtension) {
    const QByteArray file = kClassHead + "1,\n    \"scores\": [\n        \"86\",\n        \"59.5\"\n    ]\n}\n";
    EXPECT_EQ(TypeOf(Write(QStringLiteral("从邮件保存的附件"), file)), kClassType);
    // What a file manager reads is the head: a whole file or a cut one alike.
    EXPECT_EQ(TypeOf(Write(QStringLiteral("cut short"), kClassHead)), kClassType);
}

TEST_F(ClassFileType, OtherJsonIsNotAClass) {
    const QByteArray grade = "{\n    \"format\": \"markwise-grade\",\n    \"version\": 1\n}\n";
    EXPECT_NE(TypeOf(Write(QStringLiteral("grade"), grade)), kClassType);
    const QByteArray plain = "{\n    \"name\": \"三年级二班\"\n}\n";
    EXPECT_NE(TypeOf(Write(QStringLiteral("plain"), plain)), kClassType);
    // The format name far down some other document is not a class file's head.
    const QByteArray late = "{\n    \"notes\": \"" + QByteArray(80, 'x') + "\",\n    \"format\": \"markwise-class\"\n}\n";
    EXPECT_NE(TypeOf(Write(QStringLiteral("late"), late)), kClassType);
}

TEST_F(ClassFileType, HasItsIconChineseNameAndJsonParent) {
    const QMimeType type = QMimeDatabase().mimeTypeForName(kClassType);
    ASSERT_TRUE(type.isValid());
    EXPECT_EQ(type.iconName(), QStringLiteral("application-x-markwise-class"));
    // Editors that open JSON offer to open a class file too.
    EXPECT_TRUE(type.inherits(QStringLiteral("application/json")));
    EXPECT_TRUE(type.suffixes().contains(QStringLiteral("mwclass")));
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    EXPECT_EQ(type.comment(), QStringLiteral("Markwise 班级成绩"));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(type.comment(), QStringLiteral("Markwise class"));
    QLocale::setDefault(before);
}

}  // namespace
