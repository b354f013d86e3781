#include "help/RtfReader.h"

#include "display/Twips.h"
#include "help/RtfCodePage.h"
#include "help/RtfDocumentBuilder.h"
#include "help/RtfTokenizer.h"

#include <QColor>
#include <QHash>
#include <QTextDocument>
#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

// Where the text of a group goes.
enum class Dest : std::uint8_t {
    Text,             // the running text
    Skip,             // nowhere: pictures, style sheet, headers, unknown ignorable parts
    FontTable,        // font names
    ColorTable,       // colours
    FieldInstruction, // a field's instruction, read only for a hyperlink's target
    Footnote,         // a footnote, shown after the running text
    Bookmark,         // the name of a place that links lead to
    Wrapper,          // an object or alternative: nowhere, except in its result part
};

// clang-format off
enum class Word : std::uint8_t {
    Unknown,
    // destinations
    FontTable, ColorTable, SkipDest, Wrapper, Result, Footnote, FieldInst, FieldResult, Bookmark,
    // document
    Ansi, Mac, Pc, Pca, AnsiCpg, Deff, Uc, U,
    // font and colour table entries
    Charset, FontCodePage, Red, Green, Blue,
    // characters
    Plain, Bold, Italic, Underline, UnderlineNone, Strike, Hidden, Super, Sub, NoSuperSub,
    FontSize, Font, Color, Background,
    // paragraphs
    Pard, AlignLeft, AlignCenter, AlignRight, AlignJustify, LeftIndent, RightIndent,
    FirstIndent, SpaceBefore, SpaceAfter, InTable, TabStop, TabRight, TabCenter, TabDecimal,
    // structure
    Par, Line, Tab, Cell, Row, NestCell, NestRow, RowDefaults, CellRight,
    // characters by name
    Char, FootnoteMark,
};

struct WordInfo {
    Word word = Word::Unknown;
    char16_t ch = 0;
};

const std::unordered_map<std::string_view, WordInfo>& knownWords() {
    static const std::unordered_map<std::string_view, WordInfo> words = [] {
        std::unordered_map<std::string_view, WordInfo> w;
        const std::pair<const char*, Word> plain[] = {
            {"fonttbl", Word::FontTable}, {"colortbl", Word::ColorTable}, {"object", Word::Wrapper},
            {"upr", Word::Wrapper}, {"result", Word::Result}, {"ud", Word::Result},
            {"footnote", Word::Footnote}, {"fldinst", Word::FieldInst},
            {"fldrslt", Word::FieldResult}, {"bkmkstart", Word::Bookmark},
            {"ansi", Word::Ansi}, {"mac", Word::Mac}, {"pc", Word::Pc}, {"pca", Word::Pca},
            {"ansicpg", Word::AnsiCpg}, {"deff", Word::Deff}, {"uc", Word::Uc}, {"u", Word::U},
            {"fcharset", Word::Charset}, {"cpg", Word::FontCodePage}, {"red", Word::Red},
            {"green", Word::Green}, {"blue", Word::Blue},
            {"plain", Word::Plain}, {"b", Word::Bold}, {"i", Word::Italic},
            {"ul", Word::Underline}, {"uld", Word::Underline}, {"uldb", Word::Underline},
            {"ulw", Word::Underline}, {"uldash", Word::Underline}, {"uldashd", Word::Underline},
            {"uldashdd", Word::Underline}, {"ulwave", Word::Underline}, {"ulth", Word::Underline},
            {"ulhwave", Word::Underline}, {"ulldash", Word::Underline},
            {"ululdbwave", Word::Underline}, {"ulnone", Word::UnderlineNone},
            {"strike", Word::Strike}, {"striked", Word::Strike}, {"v", Word::Hidden},
            {"super", Word::Super}, {"sub", Word::Sub}, {"nosupersub", Word::NoSuperSub},
            {"fs", Word::FontSize}, {"f", Word::Font}, {"cf", Word::Color},
            {"cb", Word::Background}, {"highlight", Word::Background},
            {"chcbpat", Word::Background},
            {"pard", Word::Pard}, {"ql", Word::AlignLeft}, {"qc", Word::AlignCenter},
            {"qr", Word::AlignRight}, {"qj", Word::AlignJustify}, {"li", Word::LeftIndent},
            {"lin", Word::LeftIndent}, {"ri", Word::RightIndent}, {"rin", Word::RightIndent},
            {"fi", Word::FirstIndent}, {"sb", Word::SpaceBefore}, {"sa", Word::SpaceAfter},
            {"intbl", Word::InTable}, {"tx", Word::TabStop}, {"tqr", Word::TabRight},
            {"tqc", Word::TabCenter}, {"tqdec", Word::TabDecimal},
            {"par", Word::Par}, {"sect", Word::Par}, {"page", Word::Par}, {"line", Word::Line},
            {"tab", Word::Tab}, {"cell", Word::Cell}, {"row", Word::Row},
            {"nestcell", Word::NestCell}, {"nestrow", Word::NestRow},
            {"trowd", Word::RowDefaults}, {"cellx", Word::CellRight},
            {"chftn", Word::FootnoteMark},
        };
        for (const auto& [name, word] : plain)
            w[name] = WordInfo{word};
        // Parts of a document that are not running text.
        const char* skipped[] = {
            "stylesheet", "info", "pict", "themedata", "colorschememapping", "datastore",
            "latentstyles", "listtable", "listoverridetable", "revtbl", "rsidtbl", "xmlnstbl",
            "pgdsctbl", "header", "headerl", "headerr", "headerf", "footer", "footerl",
            "footerr", "footerf", "ftnsep", "ftnsepc", "ftncn", "aftnsep", "aftnsepc", "aftncn",
            "pn", "pntxta", "pntxtb", "bkmkend", "xe", "tc", "tcn", "txe", "annotation", "atnid",
            "atnauthor", "atndate", "atnref", "atnicn", "template", "docvar", "userprops",
            "generator", "filetbl", "mmathPr", "nesttableprops", "nonshppict", "shpinst", "sp",
            "sn", "sv", "password", "protusertbl", "fchars", "lchars", "pnseclvl", "objdata",
            "objclass", "objname", "listpicture", "fontemb", "fontfile", "falt", "panose",
            "keycode", "formfield", "datafield", "background", "author", "operator", "title",
            "subject", "keywords", "comment", "doccomm", "company", "category", "creatim",
            "revtim", "printim", "buptim"};
        for (const char* name : skipped)
            w[name] = WordInfo{Word::SkipDest};
        const std::pair<const char*, char16_t> chars[] = {
            {"emdash", 0x2014}, {"endash", 0x2013}, {"bullet", 0x2022}, {"lquote", 0x2018},
            {"rquote", 0x2019}, {"ldblquote", 0x201C}, {"rdblquote", 0x201D},
            {"emspace", 0x2003}, {"enspace", 0x2002}, {"qmspace", 0x2005}, {"zwj", 0x200D},
            {"zwnj", 0x200C}, {"ltrmark", 0x200E}, {"rtlmark", 0x200F}, {"zwbo", 0x200B},
        };
        for (const auto& [name, ch] : chars)
            w[name] = WordInfo{Word::Char, ch};
        return w;
    }();
    return words;
}
// clang-format on

WordInfo lookUp(QByteArrayView name) {
    const auto& words = knownWords();
    const auto found = words.find(std::string_view(name.data(), static_cast<size_t>(name.size())));
    return found == words.end() ? WordInfo{} : found->second;
}

// The largest indent or spacing taken: 22 inches.
constexpr int kMaxTwips = 31680;
constexpr int kMaxTabStops = 64;
constexpr int kMaxFonts = 4096;
constexpr int kMaxColors = 4096;
constexpr int kMaxNameLength = 256;
constexpr int kMaxInstructionLength = 2048;

struct CharProps {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    std::int8_t vertical = 0; // 1 superscript, -1 subscript
    int halfPoints = 24;
    int font = 0;
    int color = 0;
    int background = 0;
    QString anchor;

    bool operator==(const CharProps& o) const {
        return bold == o.bold && italic == o.italic && underline == o.underline &&
               strike == o.strike && hidden == o.hidden && vertical == o.vertical &&
               halfPoints == o.halfPoints && font == o.font && color == o.color &&
               background == o.background && anchor == o.anchor;
    }
    bool operator!=(const CharProps& o) const { return !(*this == o); }
};

struct ParaProps {
    Qt::Alignment align = Qt::AlignLeft;
    int left = 0;
    int right = 0;
    int first = 0;
    int before = 0;
    int after = 0;
    bool inTable = false;
    QTextOption::TabType nextTab = QTextOption::LeftTab;
    QList<QTextOption::Tab> tabs;

    bool operator==(const ParaProps& o) const {
        return align == o.align && left == o.left && right == o.right && first == o.first &&
               before == o.before && after == o.after && inTable == o.inTable &&
               nextTab == o.nextTab && tabs == o.tabs;
    }
};

struct Group {
    CharProps chars;
    ParaProps para;
    Dest dest = Dest::Text;
    Dest wrapped = Dest::Text; // what a Wrapper's result part shows in
    int uc = 1;
};

struct FontEntry {
    QString name;
    int codePage = 0;
    bool symbol = false;
};

int clampTwips(int value, int low = -kMaxTwips) {
    return std::clamp(value, low, kMaxTwips);
}

// A hyperlink's target from a field instruction such as ` HYPERLINK "https://..." `, or "".
QString hyperlinkTarget(const QString& instruction) {
    const QString trimmed = instruction.trimmed();
    if (!trimmed.startsWith(QLatin1String("HYPERLINK"), Qt::CaseInsensitive))
        return {};
    const qsizetype open = trimmed.indexOf(QLatin1Char('"'));
    const qsizetype close = open < 0 ? -1 : trimmed.indexOf(QLatin1Char('"'), open + 1);
    if (close < 0)
        return {};
    const QString target = trimmed.mid(open + 1, close - open - 1);
    const bool local = trimmed.left(open).contains(QLatin1String("\\l"));
    return local ? QLatin1Char('#') + target : target;
}

class Reader {
  public:
    explicit Reader(QTextDocument& document) : builder_(document) {
        stack_.reserve(64);
        stack_.emplace_back();
        colors_.append(QColor()); // index 0 until the table says otherwise: automatic
    }

    RtfReadResult read(QByteArrayView rtf);

  private:
    Group& top() { return stack_.back(); }
    void openGroup();
    bool closeGroup();
    void word(const RtfToken& t);
    void destination(Word word);
    void characterWord(Word word, const RtfToken& t);
    void paragraphWord(Word word, const RtfToken& t);
    void structureWord(const WordInfo& info, const RtfToken& t);
    void symbol(char c);
    void text(QByteArrayView bytes);
    void fontTableText(QByteArrayView bytes);
    void put(QStringView chars);
    QString* sink();
    void prepareText();
    void flush();
    void paragraph();
    void commitFont();
    void finishNote();
    int columns() const { return std::max<int>(1, static_cast<int>(cellRights_.size())); }
    const FontEntry* font(int index) const;
    QTextCharFormat charFormat(const CharProps& p) const;
    QTextCharFormat makeCharFormat(const CharProps& p) const;
    QTextBlockFormat blockFormat(const ParaProps& p) const;
    QTextBlockFormat makeBlockFormat(const ParaProps& p) const;

    RtfDocumentBuilder builder_;
    std::vector<Group> stack_;
    int overflow_ = 0;
    bool starPending_ = false;
    int ucSkip_ = 0;
    int documentCodePage_ = RtfCodePage::kWindows1252;
    int defaultFont_ = 0;
    RtfCodePage codePage_;

    QHash<int, FontEntry> fonts_;
    int fontNumber_ = -1;
    FontEntry fontEntry_;
    QList<QColor> colors_;
    bool colorTableSeen_ = false;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colorSet_ = false;

    QString pending_;
    CharProps pendingProps_;
    bool pendingInTable_ = false;
    QList<int> cellRights_;
    QString instruction_;
    QString bookmark_;
    QStringList anchorNames_;
    QStringList notes_;
    QString note_;
    RtfReadResult result_;
    // Formats made lately; the font and colour tables are read before any text, so these stay
    // right (a table read later empties them).
    mutable std::vector<std::pair<CharProps, QTextCharFormat>> charFormats_;
    mutable size_t nextCharFormat_ = 0;
    mutable std::optional<std::pair<ParaProps, QTextBlockFormat>> lastBlock_;
};

RtfReadResult Reader::read(QByteArrayView rtf) {
    result_.wasRtf = true;
    RtfTokenizer tokenizer(rtf);
    for (RtfToken t = tokenizer.next(); t.kind != RtfToken::Kind::End; t = tokenizer.next()) {
        if (t.kind == RtfToken::Kind::GroupOpen) {
            openGroup();
            continue;
        }
        if (t.kind == RtfToken::Kind::GroupClose) {
            if (!closeGroup())
                break;
            continue;
        }
        const bool isWord = t.kind == RtfToken::Kind::Word;
        // Binary data is stepped over wherever it stands, so its bytes are never read as text.
        if (isWord && t.name == "bin" && ucSkip_ == 0) {
            tokenizer.skipBytes(t.hasParam ? t.param : 0);
            continue;
        }
        if (overflow_ > 0 || top().dest == Dest::Skip)
            continue;
        if (ucSkip_ > 0 && t.kind != RtfToken::Kind::Text) {
            --ucSkip_; // the replacement after \u: one symbol, escaped byte or word
            continue;
        }
        switch (t.kind) {
        case RtfToken::Kind::Word:
            word(t);
            break;
        case RtfToken::Kind::Symbol:
            symbol(t.symbol);
            break;
        case RtfToken::Kind::Byte: {
            const char b = static_cast<char>(t.byte);
            text(QByteArrayView(&b, 1));
            break;
        }
        case RtfToken::Kind::Text: {
            QByteArrayView bytes = t.text;
            if (ucSkip_ > 0) {
                const qsizetype n = std::min<qsizetype>(ucSkip_, bytes.size());
                ucSkip_ -= static_cast<int>(n);
                bytes = bytes.sliced(n);
            }
            if (!bytes.isEmpty())
                text(bytes);
            break;
        }
        default:
            break;
        }
        if (!isWord && !(t.kind == RtfToken::Kind::Symbol && t.symbol == '*'))
            starPending_ = false;
    }

    flush();
    if (!note_.isEmpty() || top().dest == Dest::Footnote)
        finishNote();
    if (!notes_.isEmpty()) {
        // Footnotes follow the running text, each in a paragraph of its own, in smaller type.
        ParaProps plain;
        CharProps small;
        small.font = defaultFont_;
        small.halfPoints = 18;
        builder_.endParagraph(blockFormat(plain), charFormat(small), false, 1);
        for (const QString& note : std::as_const(notes_)) {
            builder_.addText(note.trimmed(), charFormat(small), false, 1);
            builder_.endParagraph(blockFormat(plain), charFormat(small), false, 1);
        }
    }
    builder_.finish(blockFormat(top().para), charFormat(top().chars));
    return result_;
}

void Reader::openGroup() {
    ucSkip_ = 0;
    starPending_ = false;
    if (overflow_ > 0 || static_cast<int>(stack_.size()) > kMaxGroupDepth) {
        ++overflow_;
        result_.groupsDropped = true;
        return;
    }
    stack_.push_back(stack_.back());
    result_.deepestGroup = std::max(result_.deepestGroup, static_cast<int>(stack_.size()) - 1);
}

// False when the document's outermost group has closed.
bool Reader::closeGroup() {
    ucSkip_ = 0;
    starPending_ = false;
    if (overflow_ > 0) {
        --overflow_;
        return true;
    }
    if (stack_.size() <= 2)
        return false;
    const Dest closed = stack_.back().dest;
    stack_.pop_back();
    if (closed == Dest::FontTable)
        commitFont();
    if (closed == Dest::Footnote && top().dest != Dest::Footnote)
        finishNote();
    if (closed == Dest::Bookmark && top().dest != Dest::Bookmark && !bookmark_.trimmed().isEmpty())
        anchorNames_.append(bookmark_.trimmed());
    return true;
}

void Reader::word(const RtfToken& t) {
    const WordInfo info = lookUp(t.name);
    const bool star = starPending_;
    starPending_ = false;
    Group& g = top();
    const int param = t.param;

    if (g.dest == Dest::Wrapper) {
        if (info.word == Word::Result)
            g.dest = g.wrapped;
        return;
    }
    switch (info.word) {
    case Word::FontTable:
    case Word::ColorTable:
    case Word::SkipDest:
    case Word::Wrapper:
    case Word::Result:
    case Word::Footnote:
    case Word::FieldInst:
    case Word::FieldResult:
    case Word::Bookmark:
        destination(info.word);
        return;
    default:
        break;
    }
    // An ignorable destination this reader does not know: the whole group is left out.
    if (star) {
        g.dest = Dest::Skip;
        return;
    }

    switch (info.word) {
    case Word::Ansi:
        documentCodePage_ = RtfCodePage::kWindows1252;
        return;
    case Word::Mac:
        documentCodePage_ = 10000;
        return;
    case Word::Pc:
        documentCodePage_ = 437;
        return;
    case Word::Pca:
        documentCodePage_ = 850;
        return;
    case Word::AnsiCpg:
        if (param > 0)
            documentCodePage_ = param;
        return;
    case Word::Deff:
        defaultFont_ = param;
        g.chars.font = param;
        return;
    case Word::Uc:
        g.uc = std::max(0, param);
        return;
    case Word::U: {
        const int unit = param < 0 ? param + 65536 : param;
        const QChar ch(static_cast<char16_t>(std::clamp(unit, 0, 0xFFFF)));
        put(QStringView(&ch, 1));
        ucSkip_ = g.uc;
        return;
    }
    case Word::Charset:
        if (g.dest == Dest::FontTable) {
            fontEntry_.codePage = RtfCodePage::forCharset(param);
            fontEntry_.symbol = param == 2;
        }
        return;
    case Word::FontCodePage:
        if (g.dest == Dest::FontTable && param > 0)
            fontEntry_.codePage = param;
        return;
    case Word::Red:
    case Word::Green:
    case Word::Blue: {
        const int value = std::clamp(param, 0, 255);
        (info.word == Word::Red ? red_ : info.word == Word::Green ? green_ : blue_) = value;
        colorSet_ = true;
        return;
    }
    case Word::Font:
        if (g.dest == Dest::FontTable) {
            commitFont();
            fontNumber_ = param;
            return;
        }
        g.chars.font = param;
        return;
    default:
        break;
    }
    if (info.word >= Word::Plain && info.word <= Word::Background)
        characterWord(info.word, t);
    else if (info.word >= Word::Pard && info.word <= Word::TabDecimal)
        paragraphWord(info.word, t);
    else if (info.word >= Word::Par)
        structureWord(info, t);
}

void Reader::destination(Word word) {
    Group& g = top();
    switch (word) {
    case Word::FontTable:
        g.dest = Dest::FontTable;
        fontNumber_ = -1;
        break;
    case Word::ColorTable:
        g.dest = Dest::ColorTable;
        if (!colorTableSeen_) {
            colorTableSeen_ = true;
            colors_.clear();
            charFormats_.clear();
        }
        colorSet_ = false;
        break;
    case Word::SkipDest:
        g.dest = Dest::Skip;
        break;
    case Word::Wrapper:
        g.wrapped = g.dest;
        g.dest = Dest::Wrapper;
        break;
    case Word::Footnote:
        if (g.dest == Dest::Text) {
            flush();
            g.dest = Dest::Footnote;
            note_.clear();
        }
        break;
    case Word::FieldInst:
        g.dest = Dest::FieldInstruction;
        instruction_.clear();
        break;
    case Word::Bookmark:
        if (g.dest == Dest::Text) {
            flush(); // the name belongs to the text that follows
            g.dest = Dest::Bookmark;
            bookmark_.clear();
        }
        break;
    case Word::FieldResult:
        // The result shows; a hyperlink's result carries its target.
        if (const QString target = hyperlinkTarget(instruction_); !target.isEmpty())
            g.chars.anchor = target;
        instruction_.clear();
        break;
    default:
        break;
    }
}

void Reader::characterWord(Word word, const RtfToken& t) {
    CharProps& c = top().chars;
    const bool on = !t.hasParam || t.param != 0;
    switch (word) {
    case Word::Plain: {
        const QString anchor = c.anchor; // a hyperlink's text stays a link
        c = CharProps{};
        c.font = defaultFont_;
        c.anchor = anchor;
        break;
    }
    case Word::Bold:
        c.bold = on;
        break;
    case Word::Italic:
        c.italic = on;
        break;
    case Word::Underline:
        c.underline = on;
        break;
    case Word::UnderlineNone:
        c.underline = false;
        break;
    case Word::Strike:
        c.strike = on;
        break;
    case Word::Hidden:
        c.hidden = on;
        break;
    case Word::Super:
        c.vertical = 1;
        break;
    case Word::Sub:
        c.vertical = -1;
        break;
    case Word::NoSuperSub:
        c.vertical = 0;
        break;
    case Word::FontSize:
        c.halfPoints = t.hasParam && t.param > 0 ? std::clamp(t.param, 2, 3276) : 24;
        break;
    case Word::Color:
        c.color = t.param;
        break;
    case Word::Background:
        c.background = t.param;
        break;
    default:
        break;
    }
}

void Reader::paragraphWord(Word word, const RtfToken& t) {
    ParaProps& p = top().para;
    switch (word) {
    case Word::Pard:
        p = ParaProps{};
        break;
    case Word::AlignLeft:
        p.align = Qt::AlignLeft;
        break;
    case Word::AlignCenter:
        p.align = Qt::AlignHCenter;
        break;
    case Word::AlignRight:
        p.align = Qt::AlignRight;
        break;
    case Word::AlignJustify:
        p.align = Qt::AlignJustify;
        break;
    case Word::LeftIndent:
        p.left = clampTwips(t.param);
        break;
    case Word::RightIndent:
        p.right = clampTwips(t.param);
        break;
    case Word::FirstIndent:
        p.first = clampTwips(t.param);
        break;
    case Word::SpaceBefore:
        p.before = clampTwips(t.param, 0);
        break;
    case Word::SpaceAfter:
        p.after = clampTwips(t.param, 0);
        break;
    case Word::InTable:
        p.inTable = true;
        break;
    case Word::TabStop:
        if (p.tabs.size() < kMaxTabStops)
            p.tabs.append(QTextOption::Tab(clampTwips(t.param, 0), p.nextTab));
        p.nextTab = QTextOption::LeftTab;
        break;
    case Word::TabRight:
        p.nextTab = QTextOption::RightTab;
        break;
    case Word::TabCenter:
        p.nextTab = QTextOption::CenterTab;
        break;
    case Word::TabDecimal:
        p.nextTab = QTextOption::DelimiterTab;
        break;
    default:
        break;
    }
}

void Reader::structureWord(const WordInfo& info, const RtfToken& t) {
    static const QChar kTab(u'\t');
    static const QChar kLineSeparator(QChar::LineSeparator);
    switch (info.word) {
    case Word::Par:
        paragraph();
        break;
    case Word::Line:
        put(QStringView(&kLineSeparator, 1));
        break;
    case Word::Tab:
    case Word::NestCell: // a table inside a cell flows inside that cell
        put(QStringView(&kTab, 1));
        break;
    case Word::NestRow:
        paragraph();
        break;
    case Word::Cell:
        flush();
        if (top().dest == Dest::Text)
            builder_.endCell(blockFormat(top().para), charFormat(top().chars), columns());
        else
            put(QStringView(&kTab, 1));
        break;
    case Word::Row:
        flush();
        if (top().dest == Dest::Text)
            builder_.endRow();
        break;
    case Word::RowDefaults:
        cellRights_.clear();
        builder_.setCellRights(cellRights_);
        break;
    case Word::CellRight:
        if (cellRights_.size() < RtfDocumentBuilder::kMaxColumns) {
            cellRights_.append(clampTwips(t.param, 0));
            builder_.setCellRights(cellRights_);
        }
        break;
    case Word::Char: {
        const QChar ch(info.ch);
        put(QStringView(&ch, 1));
        break;
    }
    case Word::FootnoteMark:
        put(QString::number(notes_.size() + 1));
        break;
    default:
        break;
    }
}

void Reader::symbol(char c) {
    QChar ch;
    switch (c) {
    case '\\':
    case '{':
    case '}':
        ch = QLatin1Char(c);
        break;
    case '~':
        ch = QChar(0x00A0);
        break;
    case '-':
        ch = QChar(0x00AD);
        break;
    case '_':
        ch = QChar(0x2011);
        break;
    case '*':
        starPending_ = true;
        return;
    case '\n':
        paragraph();
        return;
    default:
        return; // \: \| \' without digits and the like show nothing
    }
    put(QStringView(&ch, 1));
}

const FontEntry* Reader::font(int index) const {
    const auto found = fonts_.constFind(index);
    return found == fonts_.cend() ? nullptr : &found.value();
}

void Reader::text(QByteArrayView bytes) {
    Group& g = top();
    if (g.dest == Dest::FontTable) {
        fontTableText(bytes);
        return;
    }
    if (g.dest == Dest::ColorTable) {
        for (const char c : bytes) {
            if (c != ';')
                continue;
            if (colors_.size() < kMaxColors)
                colors_.append(colorSet_ ? QColor(red_, green_, blue_) : QColor());
            charFormats_.clear();
            red_ = green_ = blue_ = 0;
            colorSet_ = false;
        }
        return;
    }
    QString* out = sink();
    if (!out)
        return;
    const FontEntry* f = font(g.chars.font);
    codePage_.select(f && f->codePage ? f->codePage : documentCodePage_);
    const qsizetype before = out->size();
    codePage_.decode(bytes, *out);
    if (f && f->symbol) // Symbol's bullet sits where Windows-1252 has the middle dot
        std::replace(out->begin() + before, out->end(), QChar(0x00B7), QChar(0x2022));
    if (out->size() > kMaxInstructionLength && (out == &instruction_ || out == &bookmark_))
        out->truncate(kMaxInstructionLength);
    if (out == &pending_ || out == &note_)
        result_.textChars += out->size() - before;
}

void Reader::fontTableText(QByteArrayView bytes) {
    for (const char c : bytes) {
        if (c == ';') {
            commitFont();
            continue;
        }
        if (fontEntry_.name.size() < kMaxNameLength)
            fontEntry_.name.append(QLatin1Char(c));
    }
}

void Reader::commitFont() {
    if (fontNumber_ >= 0 && (fonts_.size() < kMaxFonts || fonts_.contains(fontNumber_))) {
        fontEntry_.name = fontEntry_.name.trimmed();
        fonts_.insert(fontNumber_, fontEntry_);
        charFormats_.clear();
    }
    fontNumber_ = -1;
    fontEntry_ = FontEntry{};
}

// The string the current group's characters go to, ready for more; null where they show nowhere.
QString* Reader::sink() {
    switch (top().dest) {
    case Dest::Text:
        if (top().chars.hidden)
            return nullptr;
        prepareText();
        return &pending_;
    case Dest::Footnote:
        return &note_;
    case Dest::FieldInstruction:
        return &instruction_;
    case Dest::Bookmark:
        return &bookmark_;
    default:
        return nullptr;
    }
}

void Reader::put(QStringView chars) {
    if (top().dest == Dest::FontTable) {
        if (fontEntry_.name.size() < kMaxNameLength)
            fontEntry_.name.append(chars);
        return;
    }
    if (QString* out = sink()) {
        out->append(chars);
        if (out == &pending_ || out == &note_)
            result_.textChars += chars.size();
    }
}

void Reader::prepareText() {
    const Group& g = top();
    if (!pending_.isEmpty() && (pendingProps_ != g.chars || pendingInTable_ != g.para.inTable))
        flush();
    if (pending_.isEmpty()) {
        pendingProps_ = g.chars;
        pendingInTable_ = g.para.inTable;
    }
}

void Reader::flush() {
    if (pending_.isEmpty())
        return;
    QTextCharFormat format = charFormat(pendingProps_);
    if (!anchorNames_.isEmpty()) {
        format.setAnchor(true);
        format.setAnchorNames(anchorNames_);
        anchorNames_.clear();
    }
    builder_.addText(pending_, format, pendingInTable_, columns());
    pending_.truncate(0); // keeps its room for the next run
}

void Reader::paragraph() {
    switch (top().dest) {
    case Dest::Text:
        flush();
        builder_.endParagraph(blockFormat(top().para), charFormat(top().chars), top().para.inTable,
                              columns());
        break;
    case Dest::Footnote:
        note_.append(QLatin1Char(' '));
        break;
    default:
        break;
    }
}

void Reader::finishNote() {
    if (!note_.trimmed().isEmpty())
        notes_.append(note_);
    note_.clear();
}

QTextCharFormat Reader::charFormat(const CharProps& p) const {
    // Documents switch between a few formats; the same properties give the same shared format,
    // which the document then recognises without comparing its properties one by one.
    for (const auto& [props, format] : charFormats_)
        if (props == p)
            return format;
    constexpr size_t kKept = 8;
    QTextCharFormat f = makeCharFormat(p);
    if (charFormats_.size() < kKept)
        charFormats_.emplace_back(p, f);
    else
        charFormats_[nextCharFormat_++ % kKept] = {p, f};
    return f;
}

QTextCharFormat Reader::makeCharFormat(const CharProps& p) const {
    // Only what differs from plain type is set: the document handles a format of few
    // properties faster, and one that leaves a property out shows it plain.
    QTextCharFormat f;
    if (p.bold)
        f.setFontWeight(QFont::Bold);
    if (p.italic)
        f.setFontItalic(true);
    if (p.underline || !p.anchor.isEmpty())
        f.setFontUnderline(true);
    if (p.strike)
        f.setFontStrikeOut(true);
    f.setFontPointSize(p.halfPoints / 2.0);
    if (const FontEntry* entry = font(p.font); entry && !entry->name.isEmpty())
        f.setFontFamilies({entry->name});
    if (p.color > 0 && p.color < colors_.size() && colors_.at(p.color).isValid())
        f.setForeground(colors_.at(p.color));
    if (p.background > 0 && p.background < colors_.size() && colors_.at(p.background).isValid())
        f.setBackground(colors_.at(p.background));
    if (p.vertical != 0)
        f.setVerticalAlignment(p.vertical > 0 ? QTextCharFormat::AlignSuperScript
                                              : QTextCharFormat::AlignSubScript);
    if (!p.anchor.isEmpty()) {
        f.setAnchor(true);
        f.setAnchorHref(p.anchor);
    }
    return f;
}

QTextBlockFormat Reader::blockFormat(const ParaProps& p) const {
    if (lastBlock_ && lastBlock_->first == p)
        return lastBlock_->second;
    lastBlock_.emplace(p, makeBlockFormat(p));
    return lastBlock_->second;
}

QTextBlockFormat Reader::makeBlockFormat(const ParaProps& p) const {
    QTextBlockFormat b;
    b.setAlignment(p.align);
    b.setLeftMargin(std::max(0, p.left) / kTwipsPerPixel);
    b.setRightMargin(std::max(0, p.right) / kTwipsPerPixel);
    b.setTextIndent(p.first / kTwipsPerPixel);
    b.setTopMargin(p.before / kTwipsPerPixel);
    b.setBottomMargin(p.after / kTwipsPerPixel);
    // Tab stops are measured from the margin; the layout measures them from where the line
    // starts, which for the first line is the left indent plus the first-line indent. A hanging
    // first line without a stop before the indent jumps to the indent at its first tab.
    const int lineStart = std::max(0, p.left) + p.first;
    QList<QTextOption::Tab> tabs;
    if (p.first < 0 && std::none_of(p.tabs.cbegin(), p.tabs.cend(), [&](const auto& tab) {
            return tab.position > lineStart && tab.position < p.left;
        }))
        tabs.append(QTextOption::Tab(-p.first / kTwipsPerPixel, QTextOption::LeftTab));
    for (QTextOption::Tab tab : p.tabs) {
        if (tab.position <= lineStart || (p.first < 0 && tab.position == p.left))
            continue;
        tab.position = (tab.position - lineStart) / kTwipsPerPixel;
        tabs.append(tab);
    }
    if (!tabs.isEmpty())
        b.setTabPositions(tabs);
    return b;
}

// Skips white space and a UTF-8 byte order mark; true if what follows opens an RTF document.
bool looksLikeRtf(QByteArrayView bytes) {
    qsizetype i = 0;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        i = 3;
    while (i < bytes.size() &&
           (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    return bytes.sliced(i).startsWith("{\\rtf");
}

} // namespace

RtfReadResult ReadRtf(QByteArrayView rtf, QTextDocument& document) {
    document.clear();
    document.setUndoRedoEnabled(false);
    if (!looksLikeRtf(rtf)) {
        const QString plain = QString::fromUtf8(rtf);
        document.setPlainText(plain);
        RtfReadResult result;
        result.textChars = plain.size();
        return result;
    }
    return Reader(document).read(rtf);
}
