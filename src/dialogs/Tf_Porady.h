#pragma once

#include <QWidget>

// The tips window: shown beside the main window without blocking it; closing only hides it.
class Tf_Porady : public QWidget
{
    Q_OBJECT

public:
    explicit Tf_Porady(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
