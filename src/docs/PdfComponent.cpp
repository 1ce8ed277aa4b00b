#include "docs/PdfComponent.h"

#include "classic/Twips.h"
#include "platform/FileErrors.h"
#include "platform/NativeNames.h"
#include "platform/OpenFiles.h"
#include "platform/PathLookup.h"

#include <QEvent>
#include <QFile>
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

QPdfDocument::Error openFailure(const FileError& failure)
{
    const bool missing = failure.number == kFileNotFound || failure.number == kPathNotFound;
    return missing ? QPdfDocument::Error::FileNotFound : QPdfDocument::Error::Unknown;
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
        close();
        showNotice({});
        return;
    }
    const QString file = resolvePathCase(path);
    if (showsUnchanged(file))
        return;
    const QString failure = load(file);
    if (failure.isEmpty()) {
        showNotice({});
    } else {
        close();
        showNotice(QStringLiteral("This document could not be opened:\n") + shownName(path) +
                   QStringLiteral("\n\n") + failure);
    }
}

PdfComponent::FileStamp PdfComponent::stampOf(const FileStatus& status)
{
    return {status.size, status.modifiedNs};
}

PdfComponent::FileStamp PdfComponent::stampOf(const QString& path)
{
    FileStatus status;
    if (statusOfPath(encodeNativeName(path), status) != 0)
        return {};
    return stampOf(status);
}

// The file is opened by its very bytes (Qt PDF would encode a name that is
// no UTF-8 into another one) and stays open while the document is shown:
// the document reads its pages from it.
QString PdfComponent::load(const QString& file)
{
    auto opened = std::make_unique<QFile>();
    if (const FileError failure = openRegularFile(*opened, file))
        return reasonOf(openFailure(failure));
    FileStatus status;
    statusOf(opened->handle(), status);
    document_->load(opened.get()); // closes the document shown before
    file_ = std::move(opened);
    if (document_->status() != QPdfDocument::Status::Ready)
        return reasonOf(document_->error());
    loadedFile_ = file;
    loadedStamp_ = stampOf(status);
    return {};
}

void PdfComponent::close()
{
    document_->close();
    file_.reset();
    loadedFile_.clear();
}

bool PdfComponent::showsUnchanged(const QString& file) const
{
    if (loadedFile_.isEmpty() || file != loadedFile_ ||
        document_->status() != QPdfDocument::Status::Ready)
        return false;
    const FileStamp stamp = stampOf(file);
    return stamp.size >= 0 && stamp == loadedStamp_;
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
