// Plasma: slow swirls of colour, sums of sine waves over the grid whose phases turn once over the
// steps (30 unless Steps says otherwise), so that the loop has no seam.
(function () {
    var algo = new Object;
    algo.apiVersion = 2;
    algo.name = "Plasma";
    algo.author = "Lm740";
    algo.acceptColors = 0;
    algo.properties = [];

    var palettes = ["Rainbow", "Ocean", "Lava", "Forest"];
    algo.palette = 0;
    algo.scale = 4;

    algo.properties.push("name:palette|type:list|display:Colours|values:Rainbow,Ocean,Lava,Forest|" +
                         "write:setPalette|read:getPalette");
    algo.setPalette = function (value) {
        var i = palettes.indexOf(String(value));
        if (i >= 0)
            algo.palette = i;
    };
    algo.getPalette = function () { return palettes[algo.palette]; };

    algo.properties.push("name:scale|type:range|display:Swirl size|values:1,10|" +
                         "write:setScale|read:getScale");
    algo.setScale = function (value) {
        var n = parseInt(value, 10);
        if (!isNaN(n))
            algo.scale = Math.max(1, Math.min(10, n));
    };
    algo.getScale = function () { return algo.scale; };

    var steps = 30;

    algo.properties.push("name:steps|type:range|display:Steps|values:1,1000|" +
                         "write:setSteps|read:getSteps");
    algo.setSteps = function (value) {
        var n = parseInt(value, 10);
        if (!isNaN(n))
            steps = Math.max(1, Math.min(1000, n));
    };
    algo.getSteps = function () { return steps; };

    function rgb(r, g, b) {
        return (Math.round(r * 255) << 16) | (Math.round(g * 255) << 8) | Math.round(b * 255);
    }

    // A colour for u in 0..1; every palette comes back to where it started at 1.
    function color(u) {
        var a = 2 * Math.PI * u;
        switch (algo.palette) {
        case 1: return rgb(0, (1 - Math.cos(a)) / 4, 0.5 + (1 - Math.cos(a)) / 4);
        case 2: return rgb(0.6 + 0.4 * Math.sin(a / 2), (1 - Math.cos(a)) / 2.5, 0);
        case 3: return rgb((1 - Math.cos(a)) / 6, 0.3 + 0.35 * (1 - Math.cos(a)), 0.05);
        default:
            return rgb((1 + Math.cos(a)) / 2, (1 + Math.cos(a - 2 * Math.PI / 3)) / 2,
                       (1 + Math.cos(a + 2 * Math.PI / 3)) / 2);
        }
    }

    // The palette as 256 colours, made again when another is chosen.
    var table = [], tableFor = -1;
    function colors() {
        if (tableFor !== algo.palette) {
            for (var i = 0; i < 256; i++)
                table[i] = color(i / 256);
            tableFor = algo.palette;
        }
        return table;
    }

    algo.rgbMapStepCount = function (width, height) { return steps; };

    algo.rgbMap = function (width, height, rgbIn, step) {
        var t = 2 * Math.PI * step / steps;
        var s = algo.scale;
        var palette = colors();
        // The waves along a row, a column and a diagonal are the same on every line: work them
        // out once each. The ring's centre wanders round the grid once a loop.
        var across = [], down = [], diagonal = [], x, y;
        for (x = 0; x < width; x++)
            across[x] = Math.sin(x / s + t);
        for (y = 0; y < height; y++)
            down[y] = Math.sin(y / (1.5 * s) - t);
        for (x = 0; x < width + height - 1; x++)
            diagonal[x] = Math.sin(x / (2 * s) + 2 * t);
        var cx = width / 2 + Math.sin(t) * width / 3, cy = height / 2 + Math.cos(t) * height / 3;
        var map = new Array(height);
        for (y = 0; y < height; y++) {
            map[y] = new Array(width);
            for (x = 0; x < width; x++) {
                var v = across[x] + down[y] + diagonal[x + y] +
                        Math.sin(Math.sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy)) / s);
                var u = (v + 4) / 8 + step / steps;
                map[y][x] = palette[Math.floor((u - Math.floor(u)) * 256) & 255];
            }
        }
        return map;
    };

    return algo;
})()
