#pragma once
// An inch dial in the manner of a mechanical instrument: a whole-inch tape and a fraction tape
// scroll past a fixed index line. The fraction tape is rendered once per DrawScale and then
// only moved; a new Value redraws just the four-mark integer tape.
#include <QString>
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <memory>

namespace gradel {
class IErrorDialog;
}

class AnalogueDial : public QWidget {
    Q_OBJECT
public:
    explicit AnalogueDial(QWidget* parent = nullptr, gradel::IErrorDialog* dialog = nullptr);
    ~AnalogueDial() override;

    float Value() const;  // "Value to be displayed"
    void SetValue(float value);
    int32_t Divisions() const;
    void SetDivisions(int32_t divisions);  // below 2 is stored as 2
    QString Unit() const;
    void SetUnit(const QString& unit);
    bool ArrowEnable() const;
    void SetArrowEnable(bool enable);
    uint32_t ArrowColour() const;  // 0x00BBGGRR
    void SetArrowColour(uint32_t colour);
    int32_t ArrowFillStyle() const;  // 0 solid .. 7 diagonal cross
    void SetArrowFillStyle(int32_t style);

    // "Return Current value as string (e.g.3-3/4)"
    QString Reading(const QString& Separator = QString()) const;
    static QString FractionText(int32_t n, int32_t d);

    // Geometry in twips, for tests and diagnostics.
    int DivPitch() const;
    int IntPitch() const;
    int IntLeft() const;
    int IntWidth() const;
    int FracWidth() const;
    int InchLength() const;
    int FracTop0() const;
    int IntTop0() const;
    double FracTop() const;             // present top of the fraction strip
    double IntTop() const;              // present top of the integer strip
    QStringList IntegerLabels() const;  // the four labels the integer strip shows now

signals:
    void RightClick();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    struct Impl;
    std::unique_ptr<Impl> d_;

    void SizeRule();
    void DrawScale();
    void ShowValue();
    int IndexLine() const;  // R(H / 2), twips from the top
};
