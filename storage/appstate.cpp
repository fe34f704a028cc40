#include "appstate.h"

AppState &appState() {
    static AppState s;
    return s;
}
