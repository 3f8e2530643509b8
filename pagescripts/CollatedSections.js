// Renders many invoices of one page into one document, so that one print makes them all:
// each invoice gets a section of its own that starts on a new page and begins with an
// invisible link whose address names the section, which the printed PDF keeps as a link
// annotation on the section's first page. The body as the page was loaded is every
// section's template; each section is rendered, detected and hidden as a request of its own
// would do to the whole body. Sent by the batch converter after the other page scripts.
if (typeof gkvt_collate === 'undefined') {
  globalThis.gkvt_collate = {
    bodyTemplate: null,
    sectionEdges: null,

    // The body's own top and bottom space would appear once per document instead of once
    // per invoice: it moves to every section, where it meets the content as it met the body.
    takeBody: function () {
      const body = document.body;
      const style = getComputedStyle(body);
      this.sectionEdges = {
        marginTop: style.marginTop, marginBottom: style.marginBottom,
        paddingTop: style.paddingTop, paddingBottom: style.paddingBottom,
      };
      this.bodyTemplate = body.innerHTML;
      body.style.marginTop = '0';
      body.style.marginBottom = '0';
      body.style.paddingTop = '0';
      body.style.paddingBottom = '0';
    },

    // Replaces the body by one section per data text and returns, as JSON text, one entry per
    // data text in order: {message} with the text a request of its own would post, or {error}
    // for an invoice that could not be rendered, which then has no section (and no pages).
    renderSections: function (dataTexts, xmlTemplate, flags, cmdClass, markPrefix) {
      if (this.bodyTemplate === null) {
        this.takeBody();
      }
      document.body.textContent = '';
      const xml = flags.facturXml ? Handlebars.compile(xmlTemplate) : null;
      const body = flags.htmlAsTemplate ? Handlebars.compile(this.bodyTemplate) : null;
      const results = dataTexts.map((text, index) => {
        const section = document.createElement('div');
        Object.assign(section.style, this.sectionEdges);
        section.style.breakBefore = 'page';
        document.body.appendChild(section);
        try {
          return { message: this.renderSection(section, JSON.parse(text), xml, body, flags,
                                               cmdClass, markPrefix + index) };
        } catch (error) {
          section.remove();
          return { error: String(error) };
        }
      });
      if (document.body.firstElementChild !== null) {
        document.body.firstElementChild.style.breakBefore = 'auto';
      }
      return JSON.stringify(results);
    },

    // The mark goes in after rendering, out of the flow, so it moves nothing on the page.
    renderSection: function (section, data, xml, body, flags, cmdClass, mark) {
      const result = {};
      if (xml !== null) {
        result.facx = xml(data);
      }
      section.innerHTML = body !== null ? body(data) : this.bodyTemplate;
      if (flags.detectCommands) {
        result.cmds = gkvt_veltCmds.detectCmds(typeof cmdClass === 'string' ? cmdClass : '',
                                               flags.hideCommands, section);
      }
      const link = document.createElement('a');
      link.href = mark;
      link.style.cssText =
          'position:absolute;width:1px;height:1px;overflow:hidden;margin:0;padding:0';
      section.insertBefore(link, section.firstChild);
      result.type = 'JSONCMDS';
      return JSON.stringify(result);
    },
  };
}
