#include "help/RtfReader.h"
#include "help/HelpLayout.h"

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>
#include <cmath>
#include <limits>

namespace {

QString textOf(const QByteArray& rtf) {
    QTextDocument doc;
    ReadRtf(rtf, doc);
    // The raw text keeps line breaks and no-break spaces apart from paragraphs and spaces.
    return doc.toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

// The format of the characters that show `needle`.
QTextCharFormat formatOf(const QTextDocument& doc, const QString& needle) {
    const QTextCursor found = doc.find(needle);
    QTextCursor at(found);
    at.setPosition(found.selectionStart() + 1);
    return at.charFormat();
}

struct TextCase {
    const char* name;
    const char* rtf;
    const char16_t* text;
};

class ReadsText : public testing::TestWithParam<TextCase> {};

TEST_P(ReadsText, AsAWordProcessorShowsIt) {
    EXPECT_EQ(textOf(GetParam().rtf), QString::fromUtf16(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    ControlWords, ReadsText,
    testing::Values(
        TextCase{"paragraphs", R"({\rtf1 one\par two\par})", u"one\ntwo\n"},
        TextCase{"line and tab", R"({\rtf1 a\line b\tab c})", u"a\u2028b\tc"},
        TextCase{"line ends are not text", "{\\rtf1 a\r\nb\n c}", u"ab c"},
        TextCase{"backslash line end is a paragraph", "{\\rtf1 a\\\nb}", u"a\nb"},
        TextCase{"escaped braces", R"({\rtf1 \{x\} \\})", u"{x} \\"},
        TextCase{"Windows-1252 by default", R"({\rtf1\ansi caf\'e9 \'80 \'93q\'94})",
                 u"café € “q”"},
        TextCase{"document code page", R"({\rtf1\ansi\ansicpg1251 \'c4\'e0})", u"Да"},
        TextCase{"font character set", R"({\rtf1{\fonttbl{\f1\fcharset238 X;}}\f1 \'b9})", u"ą"},
        TextCase{"unicode skips one", R"({\rtf1 \u8364?5})", u"€5"},
        TextCase{"uc2 skips two", R"({\rtf1\uc2 \u21512\'8d\'87!})", u"\u5408!"},
        TextCase{"uc0 skips none", R"({\rtf1\uc0 \u233 x})", u"éx"},
        TextCase{"negative unicode", R"({\rtf1 \u-3913?})", u"\uF0B7"},
        TextCase{"skip ends at a group", R"({\rtf1\uc3 {\u233 a}b})", u"éb"},
        TextCase{"named characters", R"({\rtf1 \emdash\endash\bullet\lquote\rquote})", u"—–•‘’"},
        TextCase{"symbols", R"({\rtf1 a\~b\-c\_d})", u"a\u00A0b\u00ADc\u2011d"},
        TextCase{"unknown word ignored", R"({\rtf1 a\foo12 b\bar c})", u"abc"},
        TextCase{"unknown destination shows", R"({\rtf1 {\mystery x}y})", u"xy"},
        TextCase{"ignorable destination skipped", R"({\rtf1 a{\*\mystery x{y}}b})", u"ab"},
        TextCase{"tables of fonts, colours, styles",
                 R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red1\green2\blue3;})"
                 R"({\stylesheet{\s1 Heading;}}{\info{\title T}}x})",
                 u"x"},
        TextCase{"field result, not instruction",
                 R"({\rtf1 {\field{\*\fldinst { PAGE }}{\fldrslt 7}}})", u"7"},
        TextCase{"list markers", R"({\rtf1 {\listtext \'95\tab}Item\par})", u"•\tItem\n"},
        TextCase{"old list numbering", R"({\rtf1 {\pntext 1.\tab}{\*\pn\pnlvlbody{\pntxta .}}a})",
                 u"1.\ta"},
        TextCase{"footnote after the text",
                 R"({\rtf1 Goal{\super\chftn}{\footnote \chftn  Scored late.} then\par})",
                 u"Goal1 then\n\n1 Scored late.\n"},
        TextCase{"picture with binary", "{\\rtf1 a{\\pict\\bin4 }{\\}}b}", u"ab"},
        TextCase{"hex picture", R"({\rtf1 a{\pict\pngblip 89504e47}b})", u"ab"},
        TextCase{"object shows its result",
                 R"({\rtf1 {\object\objemb{\*\objdata 0102}{\result shown}}})", u"shown"},
        TextCase{"headers and footers", R"({\rtf1{\header H}{\footerl F}body})", u"body"},
        TextCase{"hidden text", R"({\rtf1 a{\v secret}b})", u"ab"},
        TextCase{"unicode alternative", R"({\rtf1{\upr{old}{\*\ud{new}}}})", u"new"}),
    [](const testing::TestParamInfo<TextCase>& info) {
        std::string name = info.param.name;
        for (char& c : name)
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

TEST(ReadsFormats, CharacterProperties) {
    QTextDocument doc;
    ReadRtf(R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 Courier New;}}{\colortbl;\red200\green0\blue0;})"
            R"(\f0\fs20 n {\b bo} {\i it} {\ul un\ulnone nu} {\b\i\plain pl} {\fs40 big})"
            R"( {\f1 mono} {\cf1 red} {\super up} {\strike st} {\b x\b0 y}})",
            doc);
    const struct {
        const char* text;
        bool bold, italic, underline;
        double points;
    } rows[] = {{"n", false, false, false, 10},   {"bo", true, false, false, 10},
                {"it", false, true, false, 10},   {"un", false, false, true, 10},
                {"nu", false, false, false, 10},  {"pl", false, false, false, 12},
                {"big", false, false, false, 20}, {"y", false, false, false, 10}};
    for (const auto& row : rows) {
        const QTextCharFormat f = formatOf(doc, QString::fromLatin1(row.text));
        EXPECT_EQ(f.fontWeight() == QFont::Bold, row.bold) << row.text;
        EXPECT_EQ(f.fontItalic(), row.italic) << row.text;
        EXPECT_EQ(f.fontUnderline(), row.underline) << row.text;
        EXPECT_DOUBLE_EQ(f.fontPointSize(), row.points) << row.text;
    }
    EXPECT_EQ(formatOf(doc, "mono").fontFamilies().toStringList(), QStringList{"Courier New"});
    EXPECT_EQ(formatOf(doc, "red").foreground().color(), QColor(200, 0, 0));
    EXPECT_EQ(formatOf(doc, "up").verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_TRUE(formatOf(doc, "st").fontStrikeOut());
    EXPECT_EQ(formatOf(doc, "x").fontWeight(), QFont::Bold);
}

TEST(ReadsFormats, HyperlinkCarriesItsTarget) {
    QTextDocument doc;
    ReadRtf(R"({\rtf1 {\field{\*\fldinst HYPERLINK "https://example.org/"}{\fldrslt site}}})", doc);
    EXPECT_EQ(formatOf(doc, "site").anchorHref(), "https://example.org/");
}

TEST(ReadsFormats, LinkToAPlaceInTheDocument) {
    QTextDocument doc;
    ReadRtf(R"({\rtf1 {\field{\*\fldinst HYPERLINK \\l "end"}{\fldrslt go}} x\par)"
            R"({\*\bkmkstart end}{\*\bkmkend end}there})",
            doc);
    EXPECT_EQ(formatOf(doc, "go").anchorHref(), "#end");
    EXPECT_EQ(formatOf(doc, "there").anchorNames(), QStringList{"end"});
    EXPECT_TRUE(formatOf(doc, "x").anchorNames().isEmpty());
}

TEST(ReadsFormats, ParagraphProperties) {
    QTextDocument doc;
    ReadRtf(R"({\rtf1\pard\qc c\par\pard\qr r\par\pard\qj j\par)"
            R"(\pard\li720\ri360\fi-360\sb240\sa120\tx1440 i\par\pard l\par})",
            doc);
    const struct {
        Qt::Alignment align;
        double left, right, indent, top, bottom;
    } rows[] = {{Qt::AlignHCenter, 0, 0, 0, 0, 0},
                {Qt::AlignRight, 0, 0, 0, 0, 0},
                {Qt::AlignJustify, 0, 0, 0, 0, 0},
                {Qt::AlignLeft, 48, 24, -24, 16, 8},
                {Qt::AlignLeft, 0, 0, 0, 0, 0}};
    QTextBlock block = doc.begin();
    for (const auto& row : rows) {
        const QTextBlockFormat f = block.blockFormat();
        SCOPED_TRACE(block.text().toStdString());
        EXPECT_EQ(f.alignment() & Qt::AlignHorizontal_Mask, row.align);
        EXPECT_DOUBLE_EQ(f.leftMargin(), row.left);
        EXPECT_DOUBLE_EQ(f.rightMargin(), row.right);
        EXPECT_DOUBLE_EQ(f.textIndent(), row.indent);
        EXPECT_DOUBLE_EQ(f.topMargin(), row.top);
        EXPECT_DOUBLE_EQ(f.bottomMargin(), row.bottom);
        block = block.next();
    }
    // Stops count from where the first line starts (720 - 360 twips); a hanging first line
    // also stops at its indent.
    const auto tabs = doc.begin().next().next().next().blockFormat().tabPositions();
    ASSERT_EQ(tabs.size(), 2);
    EXPECT_DOUBLE_EQ(tabs[0].position, 24);
    EXPECT_DOUBLE_EQ(tabs[1].position, 72);
}

TEST(ReadsTables, CellsInReadingOrder) {
    QTextDocument doc;
    ReadRtf(R"({\rtf1 before\par)"
            R"(\trowd\cellx1500\cellx3000\pard\intbl Key\cell Does\cell\row)"
            R"(\trowd\cellx1500\cellx3000\pard\intbl S\cell Start\par stop\cell\row)"
            R"(\pard after\par})",
            doc);
    QTextTable* table = nullptr;
    for (QTextFrame* frame : doc.rootFrame()->childFrames())
        table = table ? table : qobject_cast<QTextTable*>(frame);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rows(), 2);
    EXPECT_EQ(table->columns(), 2);
    const char* cells[] = {"Key", "Does", "S", "Start\nstop"};
    for (int i = 0; i < 4; ++i) {
        QTextCursor c = table->cellAt(i / 2, i % 2).firstCursorPosition();
        c.setPosition(table->cellAt(i / 2, i % 2).lastCursorPosition().position(),
                      QTextCursor::KeepAnchor);
        EXPECT_EQ(c.selectedText().replace(QChar::ParagraphSeparator, '\n'), cells[i]);
    }
    const QString text = doc.toPlainText();
    EXPECT_LT(text.indexOf("before"), text.indexOf("Key"));
    EXPECT_LT(text.indexOf("stop"), text.indexOf("after"));
}

// What malformed input must still give: the text before the fault, and nothing unbounded.
struct BadCase {
    const char* name;
    QByteArray rtf;
    const char* startsWith;
};

class ReadsBadInput : public testing::TestWithParam<BadCase> {};

TEST_P(ReadsBadInput, WithoutFault) {
    QTextDocument doc;
    const RtfReadResult result = ReadRtf(GetParam().rtf, doc);
    const QString text = doc.toPlainText().simplified();
    EXPECT_TRUE(text.startsWith(QString::fromLatin1(GetParam().startsWith).simplified()))
        << text.left(80).toStdString();
    EXPECT_LE(result.deepestGroup, kMaxGroupDepth);
    EXPECT_LE(result.textChars, GetParam().rtf.size());
}

INSTANTIATE_TEST_SUITE_P(
    Malformed, ReadsBadInput,
    testing::Values(BadCase{"extra closing braces", "{\\rtf1 a}}}}b", "a"},
                    BadCase{"cut short", "{\\rtf1 {\\b bold {\\i it", "bold it"},
                    BadCase{"cut in a word", "{\\rtf1 ok\\par\\u12", "ok\n"},
                    BadCase{"cut in an escape", "{\\rtf1 ok\\'4", "ok"},
                    BadCase{"million groups deep",
                            "{\\rtf1 top" + QByteArray(1000000, '{') + "deep" +
                                QByteArray(1000000, '}') + " end}",
                            "top end"},
                    BadCase{"huge numbers",
                            "{\\rtf1\\fs99999999999999\\li-99999999999\\u99999999999 \\uc-5 x}",
                            ""},
                    BadCase{"binary longer than the file", "{\\rtf1 a\\bin999999999999 xyz}", "a"},
                    BadCase{"cells without a table", "{\\rtf1 a\\cell b\\row c}", "a"},
                    BadCase{"thousands of columns",
                            "{\\rtf1\\trowd" + QByteArray("\\cellx1").repeated(5000) + "\\intbl " +
                                QByteArray("x\\cell").repeated(5000) + "\\row}",
                            "x"},
                    BadCase{"not rtf", "plain words", "plain words"},
                    BadCase{"random bytes",
                            QByteArray("{\\rtf1 \x01\xff\x80{\\'zz\\*\\\\}\x00\xfe", 20), "\x01"}),
    [](const testing::TestParamInfo<BadCase>& info) {
        std::string name = info.param.name;
        for (char& c : name)
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

TEST(ReadsBadInput, DeepGroupsAreDroppedNotFollowed) {
    QTextDocument doc;
    const RtfReadResult r = ReadRtf(
        QByteArray("{\\rtf1 " + QByteArray(100000, '{') + "x" + QByteArray(100000, '}') + "}"),
        doc);
    EXPECT_TRUE(r.groupsDropped);
    EXPECT_EQ(r.deepestGroup, kMaxGroupDepth);
}

TEST(HelpLayout, ViewerAndSmallestSize) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double w, h, outerW, outerH;
    } rows[] = {{11055, 9270, 11055, 9270},  {2700, 1700, 2700, 1700}, {1000, 9270, 2700, 9270},
                {11055, 500, 11055, 1700},   {0, 0, 2700, 1700},       {-5, nan, 2700, 1700},
                {30000, 20000, 30000, 20000}};
    for (const auto& r : rows) {
        const HelpGeometry g = HelpLayout(r.w, r.h);
        SCOPED_TRACE(testing::Message() << r.w << " x " << r.h);
        EXPECT_EQ(g.outerWidth, r.outerW);
        EXPECT_EQ(g.outerHeight, r.outerH);
        EXPECT_EQ(g.viewerLeft, 120);
        EXPECT_EQ(g.viewerTop, 0);
        EXPECT_EQ(g.viewerWidth, r.outerW - 240);
        EXPECT_EQ(g.viewerHeight, r.outerH - 420);
        EXPECT_EQ(g.rightMargin, r.outerW - 690);
    }
}

} // namespace
