#include "docs/PdfComponent.h"

#include "classic/Twips.h"
#include "platform/PathLookup.h"

#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPdfDocument>
#include <QPdfView>
#include <QVBoxLayout>

namespace kadrix {

namespace {

QString reasonOf(QPdfDocument::Error error)
{
    switch (error) {
    case QPdfDocument::Error::FileNotFound:
        return QStringLiteral("The file was not found.");
    case QPdfDocument::Error::InvalidFileFormat:
        return QStringLiteral("The file is not a PDF document that can be read.");
    case QPdfDocument::Error::IncorrectPassword:
        return QStringLiteral("The document is protected by a password.");
    case QPdfDocument::Error::UnsupportedSecurityScheme:
        return QStringLiteral("The document is protected in a way that is not supported.");
    default:
        return QStringLiteral("The document could not be read.");
    }
}

} // namespace

PdfComponent::PdfComponent(QWidget& window)
    : document_(std::make_unique<QPdfDocument>())
    , view_(new QPdfView(&window))
{
    view_->setObjectName(QStringLiteral("pdfReader"));
    view_->setPageMode(QPdfView::PageMode::MultiPage);
    view_->setZoomMode(QPdfView::ZoomMode::FitToWidth);
    view_->setDocument(document_.get());

    notice_ = new QLabel(view_->viewport());
    notice_->setObjectName(QStringLiteral("pdfNotice"));
    notice_->setAlignment(Qt::AlignCenter);
    notice_->setWordWrap(true);
    notice_->setTextFormat(Qt::PlainText);
    notice_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layout = new QVBoxLayout(view_->viewport());
    layout->addWidget(notice_);
    notice_->hide();
}

PdfComponent::~PdfComponent()
{
    delete view_;
}

void PdfComponent::setSrc(const QString& path)
{
    src_ = path;
    if (path.isEmpty()) {
        document_->close();
        loadedFile_.clear();
        showNotice({});
        return;
    }
    const QString file = resolvePathCase(path);
    if (showsUnchanged(file))
        return;
    const QFileInfo info(file);
    const QPdfDocument::Error error = document_->load(file);
    if (error == QPdfDocument::Error::None) {
        loadedFile_ = file;
        loadedModified_ = info.lastModified();
        loadedSize_ = info.size();
        showNotice({});
    } else {
        document_->close();
        loadedFile_.clear();
        showNotice(QStringLiteral("This document could not be opened:\n") + path +
                   QStringLiteral("\n\n") + reasonOf(error));
    }
}

bool PdfComponent::showsUnchanged(const QString& file) const
{
    if (loadedFile_.isEmpty() || file != loadedFile_ ||
        document_->status() != QPdfDocument::Status::Ready)
        return false;
    const QFileInfo info(file);
    return info.exists() && info.lastModified() == loadedModified_ && info.size() == loadedSize_;
}

void PdfComponent::setRectangle(QRect rectangle)
{
    rectangle_ = rectangle;
    view_->setGeometry(
        twipsRect(rectangle.x(), rectangle.y(), rectangle.width(), rectangle.height()));
}

QString PdfComponent::notice() const
{
    return notice_->isHidden() ? QString() : notice_->text();
}

void PdfComponent::showNotice(const QString& text)
{
    notice_->setText(text);
    notice_->setVisible(!text.isEmpty());
}

} // namespace kadrix
