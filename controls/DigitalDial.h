#pragma once
// A readout that shows one number and its unit, right-aligned and scaled to its height,
// like the window of a measuring instrument. It formats the number by a pattern, lays out
// its two labels and reports a right-button press. It keeps nothing between runs.
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>

class QLabel;

namespace gradel {
class IErrorDialog;
}

class DigitalDial : public QWidget {
    Q_OBJECT
public:
    // `dialog` reports faults of the accessors; nullptr means the process-wide one.
    explicit DigitalDial(QWidget* parent = nullptr, gradel::IErrorDialog* dialog = nullptr);
    ~DigitalDial() override;

    float Value() const;
    void SetValue(float value);
    QString Unit() const;
    void SetUnit(const QString& unit);
    QString FormatString() const;  // "Display Format string"
    void SetFormatString(const QString& pattern);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    uint32_t BackColor() const;
    void SetBackColor(uint32_t colour);

    // FormatValue(Value, FormatString) + Separator + Unit, e.g. "25.40mm".
    QString Reading(const QString& Separator = QString()) const;

    // The pattern rule: "0.00" rounds to two places; a last "5" ("0.0005") shows only 0 or 5
    // in the last place, brought down in magnitude, sign kept; "" gives the general form.
    static QString FormatValue(double v, const QString& pattern);

    const QLabel* labValue() const;
    const QLabel* labUnit() const;

signals:
    void RightClick();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    struct Impl;
    std::unique_ptr<Impl> d_;

    void Layout();
    void UpdateCaption();
};
