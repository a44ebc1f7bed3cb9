#pragma once
// The axis panels in one column, stacked from the top in key order, so that panels stack and
// the function keys number the axes X before Y before Z whatever order the scales arrive in.
//
// A panel is made the first time its key is added and afterwards only hidden and shown again:
// it keeps its ABS, X2 and Rev state while its scale is away (or hidden by a double click).
// Only listed (shown) panels take a place in the column and an axis key. A panel hidden by a
// double click stays hidden while its scale reports, until its scale is added again or the
// operator asks for every panel back (showAll).
#include <QString>
#include <QStringList>
#include <QWidget>
#include <map>

namespace gradel {

class AxisPanel;

class PanelStack : public QWidget {
    Q_OBJECT
  public:
    explicit PanelStack(QWidget* parent = nullptr);

    // Shows and lists the panel of `key`, made on first use (panelCreated tells first).
    AxisPanel* add(const QString& key);
    // Hides the panel of `key` and takes it off the list; it keeps its state.
    void remove(const QString& key);
    // Hides the panel of a scale that is still there (the operator's double click).
    void hide(const QString& key);
    // Shows again every panel hidden by hide() whose scale is still there.
    void showAll();
    // Some scale that is there has its panel hidden by hide().
    bool hasHidden() const;
    // The panel of `key`, listed or hidden; null if it was never made.
    AxisPanel* panel(const QString& key) const;
    // The listed keys, in the order the panels stand.
    QStringList keys() const;
    // The height of the listed panels, in twips.
    int bottom() const;
    // Which readouts every panel shows, those made later too.
    void setReadoutsShown(bool mm, bool inch, bool dial);
    // The active zero point every panel names, later ones too.
    void setZeroPoint(int point);
    // Draws the column `zoom` times its design size.
    void setZoom(double zoom);

  signals:
    void panelCreated(AxisPanel* panel);
    // The listed panels changed (or were shown again): they have been laid out afresh.
    void layoutChanged();

  private:
    void layOut();
    void place();

    struct Entry {
        AxisPanel* panel = nullptr;
        bool present = false;  // its scale is there
        bool hidden = false;   // by the operator, while its scale is there
        bool listed() const { return present && !hidden; }
    };
    std::map<QString, Entry> entries_;  // in key order
    bool readouts_[3] = {true, true, true};
    int zeroPoint_ = 0;
    double zoom_ = 1;
};

}  // namespace gradel
