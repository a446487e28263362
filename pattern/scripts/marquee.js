// Marquee: lights running round the edge of the grid, as round a theatre sign. On a grid one cell
// high or wide they run along it. The colour goes from the start colour to the end colour.
(function () {
    var algo = new Object;
    algo.apiVersion = 2;
    algo.name = "Marquee";
    algo.author = "Lm740";
    algo.acceptColors = 2;
    algo.properties = [];

    var directions = ["Clockwise", "Anticlockwise"];
    algo.direction = 0;
    algo.gap = 2;

    algo.properties.push("name:gap|type:integer|display:Dark cells between lights|" +
                         "write:setGap|read:getGap");
    algo.setGap = function (value) {
        var n = parseInt(value, 10);
        if (!isNaN(n))
            algo.gap = Math.max(0, Math.min(99, n));
    };
    algo.getGap = function () { return algo.gap; };

    algo.properties.push("name:direction|type:list|display:Direction|" +
                         "values:Clockwise,Anticlockwise|write:setDirection|read:getDirection");
    algo.setDirection = function (value) {
        var i = directions.indexOf(String(value));
        if (i >= 0)
            algo.direction = i;
    };
    algo.getDirection = function () { return directions[algo.direction]; };

    // The edge cells in clockwise order from the top left corner, as [x, y].
    function edge(width, height) {
        var cells = [], x, y;
        if (width === 1 || height === 1) {
            for (y = 0; y < height; y++)
                for (x = 0; x < width; x++)
                    cells.push([x, y]);
            return cells;
        }
        for (x = 0; x < width; x++)
            cells.push([x, 0]);
        for (y = 1; y < height; y++)
            cells.push([width - 1, y]);
        for (x = width - 2; x >= 0; x--)
            cells.push([x, height - 1]);
        for (y = height - 2; y > 0; y--)
            cells.push([0, y]);
        return cells;
    }

    algo.rgbMapStepCount = function (width, height) { return algo.gap + 1; };

    algo.rgbMap = function (width, height, rgb, step) {
        var map = new Array(height);
        for (var y = 0; y < height; y++) {
            map[y] = new Array(width);
            for (var x = 0; x < width; x++)
                map[y][x] = 0;
        }
        var period = algo.gap + 1;
        var shift = algo.direction === 0 ? -step : step;
        var cells = edge(width, height);
        for (var i = 0; i < cells.length; i++) {
            if ((((i + shift) % period) + period) % period === 0)
                map[cells[i][1]][cells[i][0]] = rgb;
        }
        return map;
    };

    return algo;
})()
