#include "ui/screen_factory.h"

#include <QWidget>

#include "ui/inflow_time_screen.h"
#include "ui/rainfall_intensity_screen.h"
#include "ui/river_course_screen.h"
#include "ui/runoff_coefficient_screen.h"
#include "ui/screen_host.h"
#include "ui/print_image_viewers.h"
#include "ui/main_input_screen.h"
#include "ui/facility_screens.h"
#include "ui/results_screen.h"
#include "ui/sewage_flow_screen.h"
#include "ui/ditch_screen.h"
#include "ui/flow_time_circular_screen.h"
#include "ui/flow_time_pipe_screen.h"
#include "ui/flow_time_selection_screen.h"
#include "ui/irregular_channel_screen.h"
#include "ui/roughness_reference_screen.h"

// One line per screen: form name -> class.  Each screen's header is
// included here and nowhere else in the window code.

namespace mk {

QWidget* CreateScreen(const QString& form, ScreenHost& host, QWidget* parent) {
  (void)host;
  (void)parent;
  (void)form;
  if (form == QLatin1String("Form12")) return new RainfallIntensityScreen(host, parent);
  if (form == QLatin1String("Form13")) return new InflowTimeScreen(host, parent);
  if (form == QLatin1String("Form16")) return new RunoffCoefficientScreen(host, parent);
  if (form == QLatin1String("Form22")) return new RiverCourseScreen(host, parent);
  if (form == QLatin1String("Form28")) return new SewageFlowScreen(host, parent);
  if (form == QLatin1String("Form17")) return new FlowTimeSelectionScreen(host, parent);
  if (form == QLatin1String("Form18")) return new FlowTimePipeScreen(host, parent);
  if (form == QLatin1String("Form19")) return new DitchScreen(host, parent);
  if (form == QLatin1String("Form20")) return new FlowTimeCircularScreen(host, parent);
  if (form == QLatin1String("Form21")) return new IrregularChannelScreen(host, parent);
  if (form == QLatin1String("Form4")) return new RoughnessReferenceScreen(host, parent);
  if (form == QLatin1String("Form25")) return new MainInputScreen(host, parent);
  if (form == QLatin1String("Form2")) return new CataloguePipeScreen(host, parent);
  if (form == QLatin1String("Form5")) return new OtherCircularPipeScreen(host, parent);
  if (form == QLatin1String("Form1")) return new RectangularPipeScreen(host, parent);
  if (form == QLatin1String("Form26")) return new ResultsScreen(host, parent);
  if (form == QLatin1String("Form7")) return new PrintImageViewer(host, 1, parent);
  if (form == QLatin1String("Form3")) return new PrintImageViewer(host, 2, parent);
  return nullptr;
}

}  // namespace mk
