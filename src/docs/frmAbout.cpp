#include "docs/frmAbout.h"

#include "classic/AccessibleWindows.h"
#include "classic/Artwork.h"
#include "classic/Fonts.h"
#include "classic/Twips.h"
#include "core/AppState.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

namespace kadrix {

namespace {

const QColor kPanelColour(192, 192, 192);

QString aboutText(const QString& versionText)
{
    return QStringList{
        QString(),
        QStringLiteral("     Kadrix for Windows, version ") + versionText,
        QString(),
        QStringLiteral("     Kadrix motion analysis viewer."),
        QStringLiteral("     This software is for planar motion only."),
        QString(),
        QStringLiteral("     \u00A9 1995\u20132026 The Kadrix developers"),
    }
        .join(QLatin1Char('\n'));
}

QString authorText()
{
    return QStringList{
        QStringLiteral(" The Kadrix developers"),
        QStringLiteral(" Movarta motion analysis"),
        QStringLiteral(" Kinematics from film and video"),
        QStringLiteral(" and ground reactions,"),
        QStringLiteral(" since 1995."),
        QString(),
        QStringLiteral("  E-mail: kadrix@movarta.example"),
        QStringLiteral("  Web: movarta.example/kadrix"),
        QStringLiteral("  See also: Installation Readme"),
    }
        .join(QLatin1Char('\n'));
}

QLabel* panelLabel(QWidget* parent, const char* name, const QString& text, QRect geometry)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, kPanelColour);
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    return label;
}

} // namespace

frmAbout::frmAbout(const AppState& state, QWidget* mainWindow)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , state_(state)
    , mainWindow_(mainWindow)
{
    setObjectName(QStringLiteral("frmAbout"));
    exposeAsWindow(*this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("About Kadrix for Windows"));
    setWindowIcon(programIcon());
    build();
    Form_Load();
}

void frmAbout::build()
{
    setFont(sansSerifFont(8.25, true));
    lblAbout_ = panelLabel(this, "lblAbout", QStringLiteral(" About Kadrix for Windows"),
                           twipsRect(120, 120, 6735, 2175));
    picAbout_ = new QLabel(this);
    picAbout_->setObjectName(QStringLiteral("picAbout"));
    picAbout_->setGeometry(twipsRect(4680, 600, 510, 510));
    picAbout_->setPixmap(programIcon().pixmap(32));
    cmdAuthor_ = new QPushButton(QStringLiteral("&Author"), this);
    cmdAuthor_->setObjectName(QStringLiteral("cmdAuthor"));
    cmdAuthor_->setGeometry(twipsRect(5400, 360, 1212, 492));
    cmdAbout_ = new QPushButton(QStringLiteral("O&K"), this);
    cmdAbout_->setObjectName(QStringLiteral("cmdAbout"));
    cmdAbout_->setGeometry(twipsRect(5400, 1080, 1212, 495));
    picWren_ = new QLabel(this);
    picWren_->setObjectName(QStringLiteral("picWren"));
    picWren_->setGeometry(twipsRect(4080, 1800, 2730, 3000));
    picWren_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblWren_ = panelLabel(this, "lblWren", QStringLiteral("Author information"),
                          twipsRect(120, 2400, 3855, 2415));
    lblWren_->installEventFilter(this);
    connect(cmdAuthor_, &QPushButton::clicked, this, &frmAbout::cmdAuthor_Click);
    connect(cmdAbout_, &QPushButton::clicked, this, &frmAbout::cmdAbout_Click);
    setFixedWidth(twips(6915));
    setClientHeight(twips(kFoldedHeight));
}

void frmAbout::setClientHeight(int pixels)
{
    setFixedHeight(pixels);
}

void frmAbout::Form_Load()
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    move(screen.left() + (screen.width() - frameGeometry().width()) / 2,
         screen.top() + (screen.height() - frameGeometry().height()) / 2);
}

void frmAbout::Form_Activate()
{
    if (mainWindow_)
        mainWindow_->lower();
    setClientHeight(twips(kFoldedHeight));
    picWren_->hide();
    lblWren_->hide();
    authorShown_ = false;
    lblAbout_->setText(aboutText(state_.VersionText));
    lblWren_->setText(authorText());
}

void frmAbout::cmdAuthor_Click()
{
    authorShown_ = !authorShown_;
    if (authorShown_) {
        // The picture is drawn the first time it is shown, not for every
        // splash at start-up.
        if (picWren_->pixmap().isNull())
            picWren_->setPixmap(authorPicture());
        setClientHeight(height() + twips(kAuthorPanelHeight));
        picWren_->show();
        lblWren_->show();
    } else {
        picWren_->hide();
        lblWren_->hide();
        setClientHeight(height() - twips(kAuthorPanelHeight));
    }
}

void frmAbout::cmdAbout_Click()
{
    close();
}

void frmAbout::lblWren_Click()
{
    picWren_->hide();
}

void frmAbout::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lblWren_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        lblWren_Click();
    return QWidget::eventFilter(watched, event);
}

} // namespace kadrix
