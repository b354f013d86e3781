#include "help/RtfDocumentBuilder.h"

#include "display/Twips.h"

#include <QTextDocument>
#include <QTextTable>
#include <algorithm>

RtfDocumentBuilder::RtfDocumentBuilder(QTextDocument& document) : cursor_(&document) {
    cursor_.movePosition(QTextCursor::End);
    // One edit for the whole document: the document tells its listeners once, at the end.
    cursor_.beginEditBlock();
}

RtfDocumentBuilder::~RtfDocumentBuilder() {
    insertWaiting();
    cursor_.endEditBlock();
}

void RtfDocumentBuilder::addText(const QString& text, const QTextCharFormat& format, bool inTable,
                                 int columns) {
    if (!runningText(inTable)) {
        insertWaiting();
        place(inTable, columns);
        cursor_.insertText(text, format);
        return;
    }
    place(inTable, columns);
    if (!waiting_.isEmpty() && !(waitingFormat_ == format))
        insertWaiting();
    if (waiting_.isEmpty())
        waitingFormat_ = format;
    waiting_ += text;
}

void RtfDocumentBuilder::insertWaiting() {
    if (waiting_.isEmpty())
        return;
    // Each paragraph end in the text starts a block with the formats of the one it ends.
    cursor_.insertText(waiting_, waitingFormat_);
    waiting_.truncate(0); // keeps its room
}

void RtfDocumentBuilder::endParagraph(const QTextBlockFormat& block, const QTextCharFormat& mark,
                                      bool inTable, int columns) {
    // A paragraph with the formats of the block it ends, and a mark in the format of the text
    // before it, joins the waiting text.
    if (runningText(inTable) && !table_ && blockKnown_ && blockFormat_ == block &&
        markFormat_ == mark && (waiting_.isEmpty() || waitingFormat_ == mark)) {
        if (waiting_.isEmpty())
            waitingFormat_ = mark;
        waiting_ += QChar(QChar::ParagraphSeparator);
        return;
    }
    insertWaiting();
    place(inTable, columns);
    formatBlock(block, mark);
    // The next paragraph most often looks like this one; it starts with these formats.
    cursor_.insertBlock(block, mark);
    blockKnown_ = true;
}

void RtfDocumentBuilder::endCell(const QTextBlockFormat& block, const QTextCharFormat& mark,
                                 int columns) {
    insertWaiting();
    place(true, columns);
    if (!table_) {
        // Past the cell budget a cell ends with a tab, as in a plain-text table.
        cursor_.insertText(QStringLiteral("\t"), mark);
        return;
    }
    formatBlock(block, mark);
    cellEnded_ = true;
}

void RtfDocumentBuilder::endRow() {
    insertWaiting();
    if (table_) {
        rowEnded_ = true;
        cellEnded_ = false;
    } else if (!tablesAllowed()) {
        cursor_.insertBlock();
    }
}

void RtfDocumentBuilder::finish(const QTextBlockFormat& block, const QTextCharFormat& mark) {
    insertWaiting();
    if (table_)
        leaveTable();
    formatBlock(block, mark);
}

void RtfDocumentBuilder::formatBlock(const QTextBlockFormat& block, const QTextCharFormat& mark) {
    // Setting a block's formats costs a look-up in the document; most paragraphs keep them.
    if (!blockKnown_ || !(blockFormat_ == block)) {
        cursor_.setBlockFormat(block);
        blockFormat_ = block;
    }
    if (!blockKnown_ || !(markFormat_ == mark)) {
        cursor_.setBlockCharFormat(mark);
        markFormat_ = mark;
    }
    blockKnown_ = true;
}

// Puts the cursor where the next text of a paragraph with these properties belongs.
void RtfDocumentBuilder::place(bool inTable, int columns) {
    columns = std::clamp(columns, 1, kMaxColumns);
    if (!inTable || !tablesAllowed()) {
        if (table_)
            leaveTable();
        return;
    }
    if (!table_) {
        startTable(columns);
        return;
    }
    if (rowEnded_) {
        const int cells = table_->rows() * table_->columns();
        if (columns != table_->columns() || cells + columns > kMaxCellsPerTable) {
            leaveTable();
            startTable(columns);
            return;
        }
        table_->appendRows(1);
        cellCount_ += columns;
        ++row_;
        column_ = 0;
        rowEnded_ = false;
        cellEnded_ = false;
        moveToCell();
        return;
    }
    if (cellEnded_) {
        cellEnded_ = false;
        // More cells than the row declared: the row grows, unless it is at the limit, where
        // the extra text joins the last cell.
        if (column_ + 1 >= table_->columns() && table_->columns() < kMaxColumns) {
            table_->appendColumns(1);
            cellCount_ += table_->rows();
        }
        column_ = std::min(column_ + 1, table_->columns() - 1);
        moveToCell();
    }
}

void RtfDocumentBuilder::startTable(int columns) {
    QTextTableFormat format;
    format.setBorder(1);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    format.setCellPadding(3);
    format.setCellSpacing(0);
    QList<QTextLength> widths;
    int left = 0;
    for (int i = 0; i < columns && i < cellRights_.size(); ++i) {
        const int right = cellRights_.at(i);
        if (right <= left)
            break;
        widths.append(
            QTextLength(QTextLength::FixedLength, right / kTwipsPerPixel - left / kTwipsPerPixel));
        left = right;
    }
    if (widths.size() == columns)
        format.setColumnWidthConstraints(widths);
    // The document keeps a paragraph before every table; an empty one is made as low as it goes,
    // so a table right below a heading does not seem to start with a blank line.
    if (cursor_.block().length() <= 1) {
        QTextCharFormat tiny;
        tiny.setFontPointSize(1);
        cursor_.setBlockFormat(QTextBlockFormat());
        cursor_.setBlockCharFormat(tiny);
    }
    table_ = cursor_.insertTable(1, columns, format);
    cellCount_ += columns;
    row_ = 0;
    column_ = 0;
    rowEnded_ = false;
    cellEnded_ = false;
    moveToCell();
}

void RtfDocumentBuilder::moveToCell() {
    blockKnown_ = false;
    cursor_ = table_->cellAt(row_, column_).lastCursorPosition();
}

void RtfDocumentBuilder::leaveTable() {
    cursor_ = table_->lastCursorPosition();
    cursor_.movePosition(QTextCursor::NextBlock);
    table_ = nullptr;
    blockKnown_ = false;
    rowEnded_ = false;
    cellEnded_ = false;
}
