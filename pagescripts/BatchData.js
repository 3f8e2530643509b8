// A batch input's page made ready for the request: the input's invoice data (the data file's
// text, or null without one) goes where the request takes the data from, and the data dialog
// stays shut, as nobody is there to answer it. The value of this function expression, called
// by the converter; returns '' when the page is ready, else why the input cannot be
// converted with that data.
(function (dataText) {
  const own = (object, name) =>
    object != null && Object.prototype.hasOwnProperty.call(object, name);
  try {
    const plugin = typeof korventaPlugin === 'undefined' ? undefined : korventaPlugin;
    if (own(plugin, 'genJsonData')) {
      const config = own(plugin, 'config') ? plugin.config : undefined;
      if (own(config, 'bShowJsonWhenPrint')) {
        config.bShowJsonWhenPrint = false;
        if (plugin.config.bShowJsonWhenPrint !== false) {
          return 'the page insists on asking for its data in a dialog';
        }
      }
      if (dataText === null) return '';
      if (typeof plugin.loadJsonData !== 'function') {
        return 'the page supplies its own invoice data and takes none from a data file';
      }
      plugin.loadJsonData(JSON.parse(dataText));
      return '';
    }
    if (dataText === null) return '';
    if (typeof gkvt_zugFun !== 'undefined') {
      return 'the page renders its invoice itself and takes no data file';
    }
    // Defined before the request's script, as a page's own values would be: its full form
    // then keeps this data instead of the sample.
    globalThis.zugstr_xmlTemp = '';
    globalThis.zugstr_jsonIni = dataText;
    return '';
  } catch (error) {
    return 'the page could not take the data: ' + String(error && error.message || error);
  }
})
