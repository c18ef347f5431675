#include "ControlLayout.h"

#include <wx/control.h>
#include <wx/toplevel.h>
#include <wx/window.h>

#include <cxxabi.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <cstdlib>
#include <memory>
#include <set>
#include <typeinfo>

namespace kvtest {
namespace {

GtkWidget* WidgetOf(const wxWindow& window) { return static_cast<GtkWidget*>(window.GetHandle()); }

// A control drawn inside the top-level window: not a window of its own
// (an owned dialog) and created.
bool IsControl(const wxWindow& window) { return !window.IsTopLevel() && WidgetOf(window); }

// The rectangle a widget was given, in the coordinates of top.
SScreenRect RectIn(GtkWidget* widget, GtkWidget* top) {
    GtkAllocation allocation;
    gtk_widget_get_allocation(widget, &allocation);
    int x = 0;
    int y = 0;
    if (!gtk_widget_translate_coordinates(widget, top, 0, 0, &x, &y)) return {allocation.x, allocation.y, 0, 0};
    return {x, y, allocation.width, allocation.height};
}

// Where a label's glyphs fall: the label draws its layout at its layout
// offsets, which count from the same origin as its allocation.
SControlText TextOf(GtkLabel* label, GtkWidget* top) {
    GtkWidget* widget = GTK_WIDGET(label);
    GtkAllocation allocation;
    gtk_widget_get_allocation(widget, &allocation);
    const SScreenRect at = RectIn(widget, top);
    int offsetX = 0;
    int offsetY = 0;
    gtk_label_get_layout_offsets(label, &offsetX, &offsetY);
    PangoLayout* layout = gtk_label_get_layout(label);
    PangoRectangle ink;
    pango_layout_get_pixel_extents(layout, &ink, nullptr);
    SControlText text;
    text.text = gtk_label_get_text(label);
    text.ink = {at.x + offsetX - allocation.x + ink.x, at.y + offsetY - allocation.y + ink.y, ink.width, ink.height};
    text.lines = pango_layout_get_line_count(layout);
    text.ellipsized = pango_layout_is_ellipsized(layout);
    return text;
}

struct SLabelSearch {
    const std::set<GtkWidget*>* controls;
    std::vector<GtkLabel*> labels;
};

// The mapped labels inside a control's own widgets; the widgets of other wx
// windows inside it (a group box's children) are theirs to report.
void CollectLabels(GtkWidget* widget, gpointer data) {
    auto& search = *static_cast<SLabelSearch*>(data);
    if (search.controls->contains(widget) || !gtk_widget_get_mapped(widget)) return;
    if (GTK_IS_LABEL(widget)) {
        const char* text = gtk_label_get_text(GTK_LABEL(widget));
        if (text && *text) search.labels.push_back(GTK_LABEL(widget));
    }
    if (GTK_IS_CONTAINER(widget)) gtk_container_forall(GTK_CONTAINER(widget), CollectLabels, data);
}

int PaintOrder(GtkWidget* widget) {
    GtkWidget* container = gtk_widget_get_parent(widget);
    if (!container || !GTK_IS_CONTAINER(container)) return 0;
    struct SFind {
        GtkWidget* wanted;
        int seen = 0;
        int found = 0;
    } find{widget};
    gtk_container_forall(
        GTK_CONTAINER(container),
        [](GtkWidget* child, gpointer data) {
            auto& f = *static_cast<SFind*>(data);
            if (child == f.wanted) f.found = f.seen;
            ++f.seen;
        },
        &find);
    return find.found;
}

// Windows that draw nothing but their text and marks unless given a colour.
bool DrawsOnlyContent(const wxWindow& window, GtkWidget* widget) {
    if (GTK_IS_LABEL(widget) || GTK_IS_CHECK_BUTTON(widget) || GTK_IS_FRAME(widget)) return true;
    return window.m_wxwindow == widget && !window.GetChildren().empty();
}

class CReader {
public:
    CReader(const wxTopLevelWindow& top, SWindowLayout& layout)
        : mTop(WidgetOf(top)), mLayout(layout) {
        Gather(top);
    }

    void Read(const wxWindow& window, int parent) {
        GtkWidget* widget = WidgetOf(window);
        const int index = static_cast<int>(mLayout.controls.size());
        mLayout.controls.emplace_back();
        SControl control;
        control.window = &window;
        control.parent = parent;
        GtkWidget* container = gtk_widget_get_parent(widget);
        control.container = container;
        if (container) control.containerArea = RectIn(container, mTop);
        control.paintOrder = PaintOrder(widget);
        control.rect = RectIn(widget, mTop);
        control.mapped = gtk_widget_get_mapped(widget) && gtk_widget_get_child_visible(widget);
        control.drawsOnlyContent = DrawsOnlyContent(window, widget);
        control.ownBackground = window.UseBgCol();
        if (control.mapped) {
            SLabelSearch search{&mControlWidgets, {}};
            if (GTK_IS_CONTAINER(widget)) gtk_container_forall(GTK_CONTAINER(widget), CollectLabels, &search);
            if (GTK_IS_LABEL(widget)) search.labels.push_back(GTK_LABEL(widget));
            for (GtkLabel* label : search.labels) control.texts.push_back(TextOf(label, mTop));
            if (GTK_IS_CHECK_BUTTON(widget)) control.marks.push_back(Mark(control, search.labels));
        }
        for (const wxWindow* child : window.GetChildren()) {
            if (!IsControl(*child)) continue;
            control.children.push_back(static_cast<int>(mLayout.controls.size()));
            Read(*child, index);
        }
        mLayout.controls[static_cast<std::size_t>(index)] = std::move(control);
    }

private:
    void Gather(const wxWindow& window) {
        for (const wxWindow* child : window.GetChildren()) {
            if (!IsControl(*child)) continue;
            mControlWidgets.insert(WidgetOf(*child));
            Gather(*child);
        }
    }

    // The box or dot stands left of the label (all of the control when it
    // has no label), over the label's rows.
    SScreenRect Mark(const SControl& control, const std::vector<GtkLabel*>& labels) const {
        if (labels.empty()) return control.rect;
        const SScreenRect label = RectIn(GTK_WIDGET(labels.front()), mTop);
        return SScreenRect{control.rect.x, label.y, label.x - control.rect.x, label.height}.Intersect(control.rect);
    }

    GtkWidget* mTop;
    SWindowLayout& mLayout;
    std::set<GtkWidget*> mControlWidgets;
};

}  // namespace

std::uint32_t XWindowOf(const wxTopLevelWindow& window) {
    GtkWidget* top = WidgetOf(window);
    GdkWindow* gdkWindow = top ? gtk_widget_get_window(top) : nullptr;
    if (!gdkWindow || !GDK_IS_X11_WINDOW(gdkWindow)) return 0;
    return static_cast<std::uint32_t>(gdk_x11_window_get_xid(gdkWindow));
}

SWindowLayout ReadLayout(const wxTopLevelWindow& window) {
    SWindowLayout layout;
    layout.xWindow = XWindowOf(window);
    if (layout.xWindow == 0) return layout;
    GtkWidget* top = WidgetOf(window);
    // wxGTK keeps a top-level window's client area in a widget of its own.
    layout.client = RectIn(window.m_wxwindow ? window.m_wxwindow : top, top);
    CReader reader(window, layout);
    for (const wxWindow* child : window.GetChildren()) {
        if (IsControl(*child)) reader.Read(*child, -1);
    }
    return layout;
}

std::string Quoted(std::string_view text) {
    constexpr std::size_t kLongest = 48;
    std::string line;
    for (const char c : text) {
        const bool space = c == '\n' || c == '\t' || c == '\r';
        if (space && !line.empty() && line.back() == ' ') continue;
        line += space ? ' ' : c;
    }
    if (line.size() > kLongest) {
        // Cut at a character's first byte, so the text stays valid UTF-8.
        std::size_t end = kLongest;
        while (end > 0 && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80) --end;
        line = line.substr(0, end) + "...";
    }
    return "'" + line + "'";
}

std::string Describe(const wxWindow& window) {
    int status = 0;
    const std::unique_ptr<char, decltype(&std::free)> demangled(
        abi::__cxa_demangle(typeid(window).name(), nullptr, nullptr, &status), &std::free);
    std::string text = status == 0 && demangled ? demangled.get() : typeid(window).name();
    const auto* control = dynamic_cast<const wxControl*>(&window);
    const wxString label = control ? control->GetLabelText() : window.GetLabel();
    if (!label.empty()) text += " " + Quoted(label.utf8_string());
    text += " (id " + std::to_string(window.GetId()) + ", name \"" + window.GetName().utf8_string() + "\")";
    return text;
}

}  // namespace kvtest
