// List boxes over QListWidget with an item delegate for the owner drawing.
#include "toolkit/listbox.h"

#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>

#include "platform/cp932.h"
#include "toolkit/qt_text.h"

namespace vintorel {
namespace {

constexpr int stored_role = Qt::UserRole + 1;

// Sends the drawing of every item to the list's object.
class listbox_delegate : public QStyledItemDelegate {
 public:
  listbox_delegate(listbox* owner, QObject* parent) : QStyledItemDelegate(parent), owner_(owner) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    draw_item_record record;
    record.painter = painter;
    record.rectangle = option.rect;
    record.index = index.row();
    record.selected = option.state & QStyle::State_Selected;
    record.focused = option.state & QStyle::State_HasFocus;
    if (!owner_->on_draw_item(record)) QStyledItemDelegate::paint(painter, option, index);
  }

 private:
  listbox* owner_;
};

// ASCII letters folded, other bytes as they are (as list boxes sort).
int compare_nocase(std::string_view a, std::string_view b) {
  std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x += 32;
    if (y >= 'A' && y <= 'Z') y += 32;
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace

listbox::~listbox() { detach(); }

QListWidget* listbox::list() const { return dynamic_cast<QListWidget*>(handle_.data()); }

void listbox::attached() {
  QListWidget* l = list();
  if (!l) return;
  l->setItemDelegate(new listbox_delegate(this, l));
  connections_.push_back(QObject::connect(l, &QListWidget::currentRowChanged, [this] {
    if (!quiet_) on_select_change();
  }));
  connections_.push_back(QObject::connect(l, &QListWidget::itemDoubleClicked, [this] {
    if (!quiet_) on_double_click();
  }));
}

void listbox::detaching() {
  for (auto& c : connections_) QObject::disconnect(c);
  connections_.clear();
  // The delegate calls this object; give the list a plain one back.
  if (QListWidget* l = list()) {
    QAbstractItemDelegate* old = l->itemDelegate();
    l->setItemDelegate(new QStyledItemDelegate(l));
    delete old;
  }
}

QColor listbox::alternate_of(const QColor& c) {
  auto shift = [](int v) { return v < 128 ? v + 32 : v - 32; };
  return QColor(shift(c.red()), shift(c.green()), shift(c.blue()));
}

QBrush listbox::on_control_colour(QPalette& palette) {
  if (!text_colour.isValid()) text_colour = palette.color(QPalette::Text);
  if (!background_colour.isValid()) background_colour = palette.color(QPalette::Base);
  alternate_colour = alternate_of(background_colour);
  palette.setColor(QPalette::Text, text_colour);
  palette.setColor(QPalette::Base, background_colour);
  palette.setColor(QPalette::AlternateBase, alternate_colour);
  return QBrush(background_colour);
}

int listbox::split_icon_prefix(std::string_view stored, std::string_view& text) {
  text = stored;
  if (stored.size() < 3 || stored[0] != ':') return -1;
  std::size_t i = 1;
  int n = 0;
  while (i < stored.size() && stored[i] >= '0' && stored[i] <= '9' && n < 100000) {
    n = n * 10 + (stored[i] - '0');
    ++i;
  }
  if (i == 1 || i >= stored.size() || stored[i] != ':') return -1;
  text = stored.substr(i + 1);
  return n;
}

bool listbox::on_draw_item(const draw_item_record& r) {
  QListWidget* l = list();
  if (!l || !r.painter) return false;
  byte_string stored = stored_text(r.index);
  std::string_view text;
  int icon = split_icon_prefix(stored, text);
  bool has_icon = icon >= 0 && icon < static_cast<int>(images.size());
  const QPalette& palette = l->palette();
  bool odd = r.index % 2 == 1;
  QColor fill = r.selected ? palette.color(QPalette::Highlight)
                           : (odd ? alternate_colour : background_colour);
  r.painter->fillRect(r.rectangle, fill);
  int x = r.rectangle.left();
  QSize icon_size = l->iconSize().isValid() ? l->iconSize() : QSize(16, 16);
  if (has_icon) x += icon_size.width() + 4;
  r.painter->setPen(r.selected ? palette.color(QPalette::HighlightedText) : text_colour);
  QRect text_rect(x, r.rectangle.top(), r.rectangle.right() - x, r.rectangle.height());
  r.painter->drawText(text_rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      to_qstring(text));
  if (has_icon) {
    int down = (r.rectangle.height() - icon_size.height()) / 2;
    images[static_cast<std::size_t>(icon)].paint(
        r.painter, QRect(QPoint(r.rectangle.left(), r.rectangle.top() + down), icon_size));
  }
  return true;
}

int listbox::add(std::string_view text, int icon_index) {
  QListWidget* l = list();
  if (!l) return -1;
  byte_string stored =
      icon_index >= 0 ? ":" + std::to_string(icon_index) + ":" + byte_string(text) : byte_string(text);
  int row = l->count();
  if (l->property("vintorel_sorted").toBool()) {
    // After the items that sort before or equal to it.
    row = 0;
    while (row < l->count() && compare_nocase(stored_text(row), stored) <= 0) ++row;
  }
  std::string_view shown;
  split_icon_prefix(stored, shown);
  auto* item = new QListWidgetItem(to_qstring(shown));
  item->setData(stored_role, QByteArray(stored.data(), static_cast<qsizetype>(stored.size())));
  quiet_ = true;
  l->insertItem(row, item);
  quiet_ = false;
  return row;
}

byte_string listbox::stored_text(int index) const {
  QListWidget* l = list();
  if (!l || index < 0 || index >= l->count()) return byte_string();
  QByteArray bytes = l->item(index)->data(stored_role).toByteArray();
  if (bytes.isNull()) return to_sjis(l->item(index)->text());  // added by other means
  return byte_string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

byte_string listbox::text_at(int index) const {
  byte_string stored = stored_text(index);
  std::string_view text;
  split_icon_prefix(stored, text);
  return byte_string(text);
}

int listbox::find(std::string_view text) const {
  for (int i = 0; i < count(); ++i) {
    if (text_at(i) == text) return i;
  }
  return -1;
}

int listbox::count() const {
  QListWidget* l = list();
  return l ? l->count() : 0;
}

int listbox::selection() const {
  QListWidget* l = list();
  if (!l) return -1;
  int row = l->currentRow();
  return row >= 0 && l->item(row)->isSelected() ? row : -1;
}

void listbox::select(int index) {
  QListWidget* l = list();
  if (!l) return;
  quiet_ = true;
  if (index < 0 || index >= l->count()) {
    l->setCurrentRow(-1);
    l->clearSelection();
  } else {
    l->setCurrentRow(index);
  }
  quiet_ = false;
}

void listbox::remove(int index) {
  QListWidget* l = list();
  if (!l || index < 0 || index >= l->count()) return;
  bool was_selected = selection() == index;
  quiet_ = true;
  delete l->takeItem(index);
  // Removing the selected item leaves no selection.
  if (was_selected) {
    l->setCurrentRow(-1);
    l->clearSelection();
  }
  quiet_ = false;
}

}  // namespace vintorel
