// The site as a static host serves it, on 127.0.0.1: every request noted,
// nothing outside the folder. Imported by page-test.mjs; run by ./play web as
// `node site-server.mjs FOLDER`, which prints the page's address and serves
// until stopped.
import fs from "node:fs";
import http from "node:http";
import path from "node:path";
import { pathToFileURL } from "node:url";

const types = { ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm", ".ico": "image/x-icon" };

export function serve(folder, port = 0) {
  const root = path.resolve(folder);
  const requests = [];
  const server = http.createServer((request, reply) => {
    requests.push(request.url);
    const file = path.join(root, decodeURIComponent(request.url.split("?")[0]));
    if (!file.startsWith(root + path.sep) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      reply.writeHead(404);
      reply.end();
      return;
    }
    reply.writeHead(200, { "Content-Type": types[path.extname(file)] || "application/octet-stream" });
    fs.createReadStream(file).pipe(reply);
  });
  return new Promise((ready) => server.listen(port, "127.0.0.1", () => ready({ server, requests })));
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  const { server } = await serve(process.argv[2]);
  console.log(`http://127.0.0.1:${server.address().port}/index.html`);
}
