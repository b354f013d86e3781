#pragma once

#include <QPointer>
#include <QWidget>

class QTextBrowser;

// The help window: one resizable, non-modal window titled "Pucktally Help" whose one control,
// the read-only viewer `rtbHelp`, shows the help document from the program folder, or a note
// that it is missing. The program has at most one; it reads its document once, when created, and
// is deleted when closed. It never keeps the program running on its own.
class frmHelp : public QWidget {
    Q_OBJECT
  public:
    // Shows the program's help window, creating it (and reading the document) if there is none,
    // and brings it to the front.
    static void ShowHelp();
    // Closes and deletes the help window if there is one.
    static void UnloadHelp();
    // The help window, or null.
    static frmHelp* instance() { return instance_; }

    // A help window showing the document at `documentPath`.
    explicit frmHelp(const QString& documentPath, QWidget* parent = nullptr);
    ~frmHelp() override;

    QTextBrowser* viewer() const { return rtbHelp; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void Form_Load(const QString& documentPath);
    void Form_Resize();
    void openLink(const QUrl& url);

    QTextBrowser* rtbHelp = nullptr;
    static QPointer<frmHelp> instance_;
};
