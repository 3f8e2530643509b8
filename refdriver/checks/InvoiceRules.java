// The driver's warm rule checker: compiles the business-rule stylesheet once, then checks one
// invoice after the other as the driver sends them, so the start-up is paid once per process.
// Requests arrive on standard input as the XML's byte count on a line of its own followed by
// the bytes; each answer is "ok N" (the report follows) or "error N" (the reason follows) on a
// line, then N bytes. Standard input ending ends the program. One request at a time.
import java.io.BufferedInputStream;
import java.io.BufferedOutputStream;
import java.io.ByteArrayInputStream;
import java.io.ByteArrayOutputStream;
import java.io.DataInputStream;
import java.io.File;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.nio.charset.StandardCharsets;
import javax.xml.parsers.SAXParserFactory;
import javax.xml.transform.sax.SAXSource;
import javax.xml.transform.stream.StreamSource;
import net.sf.saxon.s9api.Processor;
import net.sf.saxon.s9api.Serializer;
import net.sf.saxon.s9api.XsltExecutable;
import net.sf.saxon.s9api.XsltTransformer;
import org.xml.sax.InputSource;
import org.xml.sax.XMLReader;

public final class InvoiceRules {
    private static final int MAX_REQUEST = 64 << 20;
    private static final int MAX_LINE = 32;

    private InvoiceRules() {}

    public static void main(String[] args) throws IOException {
        if (args.length != 1) {
            System.err.println("usage: InvoiceRules STYLESHEET");
            System.exit(2);
        }
        final DataInputStream in = new DataInputStream(new BufferedInputStream(System.in));
        final OutputStream out = new BufferedOutputStream(System.out);
        final Processor processor = new Processor(false);
        final XsltExecutable rules;
        try {
            rules = processor.newXsltCompiler().compile(new StreamSource(new File(args[0])));
        } catch (Exception | Error e) {
            // Every request is answered with the reason, so the driver can say why.
            serveFailure(in, out, "the rules stylesheet cannot be compiled: " + describe(e));
            return;
        }
        for (byte[] xml; (xml = readRequest(in)) != null; ) {
            try {
                answer(out, "ok", check(processor, rules, xml));
            } catch (Exception | StackOverflowError | OutOfMemoryError e) {
                answer(out, "error", describe(e).getBytes(StandardCharsets.UTF_8));
            }
        }
    }

    private static void serveFailure(DataInputStream in, OutputStream out, String reason)
            throws IOException {
        while (readRequest(in) != null) {
            answer(out, "error", reason.getBytes(StandardCharsets.UTF_8));
        }
    }

    // The invoice comes from a page: no document type declaration, so no entity reaches a
    // file or the network.
    private static byte[] check(Processor processor, XsltExecutable rules, byte[] xml)
            throws Exception {
        final SAXParserFactory factory = SAXParserFactory.newInstance();
        factory.setNamespaceAware(true);
        factory.setFeature("http://apache.org/xml/features/disallow-doctype-decl", true);
        factory.setFeature("http://xml.org/sax/features/external-general-entities", false);
        factory.setFeature("http://xml.org/sax/features/external-parameter-entities", false);
        final XMLReader reader = factory.newSAXParser().getXMLReader();
        final ByteArrayOutputStream report = new ByteArrayOutputStream();
        final XsltTransformer transformer = rules.load();
        transformer.setSource(new SAXSource(reader, new InputSource(new ByteArrayInputStream(xml))));
        final Serializer serializer = processor.newSerializer(report);
        transformer.setDestination(serializer);
        transformer.transform();
        return report.toByteArray();
    }

    // Null at the end of input; a malformed request ends the conversation too.
    private static byte[] readRequest(DataInputStream in) throws IOException {
        final String line = readLine(in);
        if (line == null) return null;
        final int size;
        try {
            size = Integer.parseInt(line.trim());
        } catch (NumberFormatException e) {
            return null;
        }
        if (size < 0 || size > MAX_REQUEST) return null;
        final byte[] xml = new byte[size];
        in.readFully(xml);
        return xml;
    }

    private static String readLine(InputStream in) throws IOException {
        final StringBuilder line = new StringBuilder();
        for (int c; (c = in.read()) != '\n'; ) {
            if (c < 0 || line.length() > MAX_LINE) return null;
            line.append((char) c);
        }
        return line.toString();
    }

    private static void answer(OutputStream out, String kind, byte[] body) throws IOException {
        out.write((kind + " " + body.length + "\n").getBytes(StandardCharsets.US_ASCII));
        out.write(body);
        out.flush();
    }

    private static String describe(Throwable e) {
        final String message = e.getMessage();
        return message == null ? e.getClass().getSimpleName() : message.replace('\n', ' ');
    }
}
