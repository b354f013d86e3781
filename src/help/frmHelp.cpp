#include "help/frmHelp.h"

#include "display/Twips.h"
#include "help/HelpDocument.h"
#include "help/HelpLayout.h"
#include "settings/ProgramFolder.h"

#include <QDesktopServices>
#include <QEvent>
#include <QTextBrowser>
#include <QTextDocument>

QPointer<frmHelp> frmHelp::instance_;

void frmHelp::ShowHelp() {
    if (!instance_)
        instance_ = new frmHelp(HelpDocumentPath(programFolder()));
    instance_->show();
    instance_->raise();
    instance_->activateWindow();
}

void frmHelp::UnloadHelp() {
    delete instance_.data();
}

frmHelp::frmHelp(const QString& documentPath, QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Pucktally Help"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Closing the board ends the program even while the help stays open.
    setAttribute(Qt::WA_QuitOnClose, false);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    rtbHelp = new QTextBrowser(this);
    rtbHelp->setObjectName(QStringLiteral("rtbHelp"));
    rtbHelp->setOpenLinks(false);
    rtbHelp->setLineWrapMode(QTextEdit::FixedPixelWidth);
    connect(rtbHelp, &QTextBrowser::anchorClicked, this, &frmHelp::openLink);

    resize(twipsToPixels(kHelpDesignWidth), twipsToPixels(kHelpDesignHeight));
    Form_Load(documentPath);
    Form_Resize();
}

frmHelp::~frmHelp() = default;

void frmHelp::Form_Load(const QString& documentPath) {
    auto* document = new QTextDocument(rtbHelp);
    if (!LoadHelpDocument(documentPath, *document))
        document->setPlainText(QString::fromLatin1(kHelpMissingMessage));
    rtbHelp->setDocument(document);
}

void frmHelp::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmHelp::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Restoring a minimized window need not change its size, yet the viewer must fit it.
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void frmHelp::Form_Resize() {
    if (isMinimized())
        return;
    // The rule speaks of the outer size; the frame is what the window manager adds around us.
    const QSize frame = frameGeometry().size() - size();
    const HelpGeometry g = HelpLayout(pixelsToTwips(width() + frame.width()),
                                      pixelsToTwips(height() + frame.height()));
    const QSize client(twipsToPixels(g.outerWidth) - frame.width(),
                       twipsToPixels(g.outerHeight) - frame.height());
    setMinimumSize(twipsToPixels(kHelpMinWidth) - frame.width(),
                   twipsToPixels(kHelpMinHeight) - frame.height());
    if (client.width() > width() || client.height() > height()) {
        resize(client); // snaps back to the smallest size; we come here again
        return;
    }
    rtbHelp->setGeometry(twipsToPixels(g.viewerLeft), twipsToPixels(g.viewerTop),
                         twipsToPixels(g.viewerWidth), twipsToPixels(g.viewerHeight));
    rtbHelp->setLineWrapColumnOrWidth(twipsToPixels(g.rightMargin));
    rtbHelp->viewport()->update();
}

void frmHelp::openLink(const QUrl& url) {
    if (url.scheme().isEmpty() && url.hasFragment())
        rtbHelp->scrollToAnchor(url.fragment());
    else
        QDesktopServices::openUrl(url);
}
