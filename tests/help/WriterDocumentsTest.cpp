#include "help/RtfReader.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>

namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString testFile(const char* name) {
    return QStringLiteral(PUCKTALLY_SOURCE_DIR "/tests/help/rtf/") + QLatin1String(name);
}

// The document's lines with runs of white space made one blank, without list markers (which
// word processors write out in different ways), empty lines left out.
QStringList linesOf(const QString& text) {
    static const QRegularExpression marker(QStringLiteral("^(•|\\d+\\.) "));
    QStringList lines;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString simple = line.simplified().remove(marker);
        if (!simple.isEmpty())
            lines.append(simple);
    }
    return lines;
}

// Whether every line of `expected` appears among `actual`, in the same order.
testing::AssertionResult inOrder(const QStringList& expected, const QStringList& actual) {
    qsizetype at = 0;
    for (const QString& line : expected) {
        while (at < actual.size() && actual.at(at) != line)
            ++at;
        if (at == actual.size())
            return testing::AssertionFailure() << "missing or out of order: " << line.toStdString();
        ++at;
    }
    return testing::AssertionSuccess();
}

bool hasFormat(const QTextDocument& doc, const char* phrase, bool bold) {
    const QTextCursor found =
        doc.find(QString::fromUtf8(phrase), 0, QTextDocument::FindCaseSensitively);
    if (found.isNull())
        return false;
    QTextCursor at(found);
    for (int p = found.selectionStart() + 1; p <= found.selectionEnd(); ++p) {
        at.setPosition(p);
        const QTextCharFormat f = at.charFormat();
        if (bold ? f.fontWeight() < QFont::Bold : !f.fontItalic())
            return false;
    }
    return true;
}

struct WriterDocument {
    const char* rtf;
    const char* writersText; // the same document as plain text, from the word processor
    std::vector<const char*> bold;
    std::vector<const char*> italic;
    std::vector<const char*> plain;
};

class WriterDocuments : public testing::TestWithParam<WriterDocument> {};

TEST_P(WriterDocuments, TextWholeAndInOrder) {
    QTextDocument doc;
    ReadRtf(fileBytes(testFile(GetParam().rtf)), doc);
    QString expected = QString::fromUtf8(fileBytes(testFile(GetParam().writersText)));
    expected.remove(QChar(0xFEFF));
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_TRUE(inOrder(linesOf(expected), linesOf(doc.toPlainText())));
}

TEST_P(WriterDocuments, BoldAndItalicWhereTheSourceHadThem) {
    QTextDocument doc;
    ReadRtf(fileBytes(testFile(GetParam().rtf)), doc);
    for (const char* phrase : GetParam().bold)
        EXPECT_TRUE(hasFormat(doc, phrase, true)) << "bold: " << phrase;
    for (const char* phrase : GetParam().italic)
        EXPECT_TRUE(hasFormat(doc, phrase, false)) << "italic: " << phrase;
    for (const char* phrase : GetParam().plain) {
        EXPECT_FALSE(hasFormat(doc, phrase, true)) << "not bold: " << phrase;
        EXPECT_FALSE(hasFormat(doc, phrase, false)) << "not italic: " << phrase;
    }
}

INSTANTIATE_TEST_SUITE_P(
    LibreOffice, WriterDocuments,
    testing::Values(WriterDocument{"board-keys.rtf",
                                   "board-keys.txt",
                                   {"selected field", "Shift+Tab", "F2", "one digit"},
                                   {"click", "at once", "199"},
                                   {"start or stop the clock", "Scores go up to"}},
                    WriterDocument{"game-notes.rtf",
                                   "game-notes.txt",
                                   {"game clock", "Player", "Delete"},
                                   {"Coupe d’Été"},
                                   {"Zürich, Škofja Loka and Østerbro", "5–3, then 2–2", "major"}},
                    WriterDocument{"help-writer.rtf",
                                   "help-writer.txt",
                                   {"bypass", "~/.config/PuckTally.ini", "Reset Keys", "Shift+Tab"},
                                   {"Choose Key", "Color Controls"},
                                   {"Sounds the horn.", "Pucktally never touches NumLock."}}),
    [](const testing::TestParamInfo<WriterDocument>& info) {
        std::string name = info.param.rtf;
        for (char& c : name)
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

TEST(WriterDocuments, FootnoteFollowsTheText) {
    QTextDocument doc;
    ReadRtf(fileBytes(testFile("game-notes.rtf")), doc);
    const QString text = doc.toPlainText();
    const qsizetype note = text.indexOf("So the options dialog never makes it lose time.");
    EXPECT_GT(note, text.indexOf("when the penalty is over"));
    EXPECT_EQ(text.indexOf("clock1, so it never drifts"), text.indexOf("clock1"));
}

// The help document that ships: as the word processor reads it, with its tables, and every
// entry of its contents leading to a heading.
TEST(ShippedHelp, ReadsAsAWordProcessorReadsIt) {
    QTextDocument doc;
    const RtfReadResult result = ReadRtf(
        fileBytes(QStringLiteral(PUCKTALLY_SOURCE_DIR "/assets/pucktallyhelpfile.rtf")), doc);
    ASSERT_TRUE(result.wasRtf);
    QString expected = QString::fromUtf8(fileBytes(testFile("help-writer.txt")));
    expected.remove(QChar(0xFEFF));
    EXPECT_TRUE(inOrder(linesOf(expected), linesOf(doc.toPlainText())));

    int tables = 0;
    for (QTextFrame* frame : doc.rootFrame()->childFrames())
        tables += qobject_cast<QTextTable*>(frame) != nullptr;
    EXPECT_EQ(tables, 3);

    QSet<QString> names;
    QStringList links;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            for (const QString& name : f.anchorNames())
                names.insert(name);
            if (!f.anchorHref().isEmpty())
                links.append(f.anchorHref());
        }
    EXPECT_GE(links.size(), 10);
    for (const QString& link : links)
        EXPECT_TRUE(link.startsWith('#') && names.contains(link.mid(1))) << link.toStdString();
}

} // namespace
