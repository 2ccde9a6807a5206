#include "app/verada_vodirev_app.h"

int main(int argc, char** argv) {
    vodirev::CVeradaVodirevApp app(argc, argv);
    app.InitInstance();
    return 0;
}
