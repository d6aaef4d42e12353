// The up-down arrows inside the right edge of a single-line edit box: each
// step moves the box's number by one within (smaller bound, larger bound).
#pragma once

#include <QWidget>
#include <cstdint>

class QLineEdit;

namespace velmora::controls {

class Adjuster : public QWidget {
  public:
    explicit Adjuster(QLineEdit* box);
    void SetRange(int32_t a, int32_t b);
    void Step(int step);

  protected:
    bool eventFilter(QObject*, QEvent* event) override;

  private:
    void Place();
    QLineEdit* box_;
    int32_t low_ = 0;
    int32_t high_ = 100;
};

}  // namespace velmora::controls
