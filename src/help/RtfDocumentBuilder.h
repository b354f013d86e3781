#pragma once

#include <QList>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

class QTextDocument;
class QTextTable;

// Writes what the rich-text reader finds into a QTextDocument, front to back: runs of text,
// paragraph ends and table cells. Table rows become rows of a QTextTable; a row with another
// number of columns than the table so far, or a table grown past a few hundred cells, starts a
// new table right below, and once the document holds many thousands of cells the rest of its
// table text flows as tab-separated lines. So memory and time stay proportional to the input.
class RtfDocumentBuilder {
  public:
    static constexpr int kMaxColumns = 64;
    static constexpr int kMaxCellsPerTable = 512;
    static constexpr int kMaxCells = 100000;

    explicit RtfDocumentBuilder(QTextDocument& document);
    ~RtfDocumentBuilder();
    RtfDocumentBuilder(const RtfDocumentBuilder&) = delete;
    RtfDocumentBuilder& operator=(const RtfDocumentBuilder&) = delete;

    // Text in the current paragraph; `inTable` says whether the paragraph lies in a table row
    // of `columns` cells (the row's \cellx count).
    void addText(const QString& text, const QTextCharFormat& format, bool inTable, int columns);
    // Ends the current paragraph with the paragraph's own formats.
    void endParagraph(const QTextBlockFormat& block, const QTextCharFormat& mark, bool inTable,
                      int columns);
    // Ends the current cell (its last paragraph takes `block`); the next text goes to the next
    // cell of the row.
    void endCell(const QTextBlockFormat& block, const QTextCharFormat& mark, int columns);
    void endRow();
    // Gives the last paragraph its formats and leaves any table.
    void finish(const QTextBlockFormat& block, const QTextCharFormat& mark);
    // The right edges of the cells of the rows that follow, in twips from the left margin.
    void setCellRights(const QList<int>& cellRightsTwips) { cellRights_ = cellRightsTwips; }

  private:
    void place(bool inTable, int columns);
    bool tablesAllowed() const { return cellCount_ < kMaxCells; }
    bool runningText(bool inTable) const { return !inTable || !tablesAllowed(); }
    void insertWaiting();
    void startTable(int columns);
    void moveToCell();
    void leaveTable();
    void formatBlock(const QTextBlockFormat& block, const QTextCharFormat& mark);

    QTextCursor cursor_;
    QTextTable* table_ = nullptr;
    QList<int> cellRights_;
    int row_ = 0;
    int column_ = 0;
    bool cellEnded_ = false;
    bool rowEnded_ = false;
    int cellCount_ = 0;
    // The formats the cursor's block has, when known.
    QTextBlockFormat blockFormat_;
    QTextCharFormat markFormat_;
    bool blockKnown_ = false;
    // Running text not yet inserted, all in one format, with the ends of paragraphs that keep
    // the formats of the one before: the document inserts it in one go, which costs far less
    // than a run and a paragraph at a time.
    QString waiting_;
    QTextCharFormat waitingFormat_;
};
