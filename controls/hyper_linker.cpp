#include "controls/hyper_linker.h"

#include <QDesktopServices>
#include <QLabel>
#include <QMouseEvent>
#include <QUrl>
#include <cstdio>

#include "controls/caption_fit.h"
#include "controls/control_support.h"
#include "controls/default_browser.h"
#include "controls/hyper_linker_data.h"
#include "controls/stored_properties.h"

namespace velmora::controls {
namespace {

using F = StoredField<HyperLinkerData>;
const StoredProperties<HyperLinkerData> kProperties(
    {F{0, &HyperLinkerData::caption}, F{1, &HyperLinkerData::linkKind},
     F{2, &HyperLinkerData::email}, F{3, &HyperLinkerData::web}, F{4, &HyperLinkerData::colour},
     F{5, &HyperLinkerData::hoverColour}, F{6, &HyperLinkerData::visitedColour},
     F{7, &HyperLinkerData::background}, F{8, &HyperLinkerData::option16},
     F{9, &HyperLinkerData::font}});

bool OpenOnTheDesktop(const QString& link) {
    return QDesktopServices::openUrl(QUrl::fromUserInput(link));
}

LinkOpener& Opener() {
    static LinkOpener opener = OpenOnTheDesktop;
    return opener;
}

class LinkWidget : public QLabel {
  public:
    using QLabel::QLabel;
    bool visited = false;

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

void Apply(QWidget* control, const HyperLinkerData& d) {
    auto* link = static_cast<LinkWidget*>(control);
    link->setText(FromGbk(d.caption));
    QFont font = ToQFont(d.font);
    font.setUnderline(true);
    SetCaptionFont(link, font);
    ApplyColours(link, link->visited ? d.visitedColour : d.colour, d.background);
}

void LinkWidget::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !rect().contains(event->pos())) return;
    auto data = kProperties.Load(this);
    if (!data) return;
    std::string address = data->linkKind == 1 ? data->web : data->email;
    if (address.empty()) return;
    QString link = FromGbk(address);
    if (data->linkKind != 1) link.prepend("mailto:");
    // The desktop's own way first, then the program registered for pages.
    if (!Opener()(link) && !OpenWithDefaultBrowser(link))
        std::fprintf(stderr, "velmora: no program opened the link %s\n", link.toUtf8().constData());
    visited = true;
    Apply(this, *data);
}

using Type = StoredType<LinkWidget, HyperLinkerData, kProperties, Apply>;

QWidget* Create(const CreateRequest& request) {
    LinkWidget* link = Type::Make(request);
    if (link) link->setCursor(Qt::PointingHandCursor);
    return link;
}

}  // namespace

void SetLinkOpener(LinkOpener opener) {
    Opener() = opener ? std::move(opener) : OpenOnTheDesktop;
}

InterfaceRoutine HyperLinkerInterface(int request) {
    return Type::Interface(request, Create);
}

}  // namespace velmora::controls
