#include "app/Startup.h"

#include "app/TForm1.h"
#include "dialogs/TF_About.h"
#include "dialogs/Tf_Porady.h"
#include "widgets/Placement.h"


PelmoraWindows::PelmoraWindows(const AppServices &services)
    : main(std::make_unique<TForm1>(services))
    , tips(std::make_unique<Tf_Porady>(services))
    , about(std::make_unique<TF_About>(services, main.get()))
{
    main->setSideWindows(tips.get(), about.get());
}

PelmoraWindows::~PelmoraWindows() = default;

void PelmoraWindows::showMain()
{
    centreOnScreen(main.get());
    main->show();
}
